#pragma once

#include "platform/gui/base/Handles.h"
#include "platform/gui/draw/Gdi.h"
#include "platform/os/Types.h"

#include <string>

typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef WORD ATOM;

// A window class as the program registers it. Windows take their class style (double clicks, redraw on
// resize), the cursor their default WM_SETCURSOR shows and the background their default WM_ERASEBKGND
// paints from it. The background may be a brush or a system colour index plus one, as on the platform.
struct WNDCLASS {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCTSTR lpszMenuName;
    LPCTSTR lpszClassName;
};
typedef WNDCLASS WNDCLASSA;
typedef WNDCLASS* LPWNDCLASS;

// Registration fails for a class without a name or for a name already registered.
ATOM RegisterClass(const WNDCLASS* wndClass);
// The framework's variant: TRUE also when the name is already registered.
BOOL AfxRegisterClass(WNDCLASS* wndClass);
// FALSE when no class of that name was registered (the instance does not matter: there is one module).
BOOL GetClassInfo(HINSTANCE hInstance, LPCTSTR className, WNDCLASS* wndClass);
inline BOOL GetClassInfoA(HINSTANCE hInstance, LPCSTR className, WNDCLASSA* wndClass) {
    return GetClassInfo(hInstance, className, wndClass);
}
// Registers (once) a named class with double clicks and the button face as its background, the look of dialogs,
// frames and bars; returns the name.
LPCTSTR RegisterButtonFaceClass(LPCTSTR className);
// Registers a named class the first time a window of it is built: the default window procedure, the arrow, and a
// system colour (COLOR_...) as its background. A class that cannot be registered raises the resource exception.
void RegisterWindowClassOnce(LPCTSTR className, UINT style, int backgroundColour);
// Registers an unnamed class with these attributes and returns its generated name, which lives for the run.
LPCTSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                            HICON icon = nullptr);

// The class a window of that name gets; unknown names give double clicks, the arrow and no background.
WNDCLASS FindWindowClass(const std::string& name);
// The colour a class background paints, or FALSE when it paints nothing.
BOOL WindowClassBackground(const WNDCLASS& wndClass, COLORREF* color);
