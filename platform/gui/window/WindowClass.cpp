#include "WindowClass.h"

#include "Cursor.h"
#include "WindowStyles.h"
#include "Wnd.h"
#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/frame/ResourceException.h"
#include "platform/gui/frame/WinApp.h"

#include <cstdio>
#include <deque>
#include <map>

namespace {

struct Registered {
    WNDCLASS wndClass;
    std::string name;
};

std::map<std::string, Registered>& Classes() {
    static std::map<std::string, Registered> classes;
    return classes;
}

} // namespace

ATOM RegisterClass(const WNDCLASS* wndClass) {
    if (!wndClass || !wndClass->lpszClassName || IS_INTRESOURCE(wndClass->lpszClassName) || !*wndClass->lpszClassName)
        return 0;
    const std::string name = wndClass->lpszClassName;
    if (Classes().count(name))
        return 0;
    Registered& entry = Classes()[name];
    entry.name = name;
    entry.wndClass = *wndClass;
    entry.wndClass.lpszClassName = entry.name.c_str();
    entry.wndClass.lpszMenuName = nullptr;
    return static_cast<ATOM>(0xC000 + Classes().size());
}

BOOL AfxRegisterClass(WNDCLASS* wndClass) {
    if (!wndClass || !wndClass->lpszClassName || IS_INTRESOURCE(wndClass->lpszClassName))
        return FALSE;
    if (Classes().count(wndClass->lpszClassName))
        return TRUE;
    return RegisterClass(wndClass) ? TRUE : FALSE;
}

LPCTSTR RegisterButtonFaceClass(LPCTSTR className) {
    WNDCLASS wc{};
    wc.style = CS_DBLCLKS;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1));
    wc.lpszClassName = className;
    AfxRegisterClass(&wc);
    return className;
}

void RegisterWindowClassOnce(LPCTSTR className, UINT style, int backgroundColour) {
    WNDCLASS wndClass{};
    HINSTANCE instance = AfxGetInstanceHandle();
    if (GetClassInfo(instance, className, &wndClass))
        return;
    wndClass.style = style;
    wndClass.lpfnWndProc = ::DefWindowProc;
    wndClass.hInstance = instance;
    wndClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wndClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(backgroundColour + 1));
    wndClass.lpszClassName = className;
    if (!AfxRegisterClass(&wndClass))
        AfxThrowResourceException();
}

BOOL GetClassInfo(HINSTANCE /*hInstance*/, LPCTSTR className, WNDCLASS* wndClass) {
    if (!className || IS_INTRESOURCE(className))
        return FALSE;
    auto it = Classes().find(className);
    if (it == Classes().end())
        return FALSE;
    if (wndClass)
        *wndClass = it->second.wndClass;
    return TRUE;
}

LPCTSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    char name[96];
    std::snprintf(name, sizeof(name), "Wnd:%x:%p:%p:%p", classStyle, static_cast<const void*>(cursor),
                  static_cast<const void*>(background), static_cast<const void*>(icon));
    auto it = Classes().find(name);
    if (it == Classes().end()) {
        WNDCLASS wc{classStyle, nullptr, 0, 0, nullptr, icon, cursor, background, nullptr, name};
        RegisterClass(&wc);
        it = Classes().find(name);
    }
    return it->second.wndClass.lpszClassName;
}

WNDCLASS FindWindowClass(const std::string& name) {
    auto it = Classes().find(name);
    if (it != Classes().end())
        return it->second.wndClass;
    return WNDCLASS{CS_DBLCLKS, nullptr, 0,      0, nullptr, nullptr, LoadCursor(nullptr, IDC_ARROW),
                    nullptr,    nullptr, nullptr};
}

BOOL WindowClassBackground(const WNDCLASS& wndClass, COLORREF* color) {
    const auto value = reinterpret_cast<uintptr_t>(wndClass.hbrBackground);
    if (value == 0)
        return FALSE;
    // A small value is a system colour index plus one.
    if (value <= 64) {
        if (color)
            *color = GetSysColor(static_cast<int>(value) - 1);
        return TRUE;
    }
    CBrush* brush = CBrush::FromHandle(wndClass.hbrBackground);
    LOGBRUSH log{};
    if (!brush || !brush->GetLogBrush(&log) || log.lbStyle == BS_NULL)
        return FALSE;
    if (color)
        *color = log.lbColor;
    return TRUE;
}
