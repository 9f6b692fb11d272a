#pragma once

#include "platform/gui/base/Handles.h"
#include "platform/os/Types.h"

#include <functional>

class QWidget;

// A cursor handle names one of Qt's cursor shapes.
struct CursorShape {
    int shape; // Qt::CursorShape
};

// The system cursors, named as the platform names them.
inline const LPCTSTR IDC_ARROW = MAKEINTRESOURCE(32512);
inline const LPCTSTR IDC_IBEAM = MAKEINTRESOURCE(32513);
inline const LPCTSTR IDC_WAIT = MAKEINTRESOURCE(32514);
inline const LPCTSTR IDC_CROSS = MAKEINTRESOURCE(32515);
inline const LPCTSTR IDC_UPARROW = MAKEINTRESOURCE(32516);
inline const LPCTSTR IDC_SIZE = MAKEINTRESOURCE(32640);
inline const LPCTSTR IDC_ICON = MAKEINTRESOURCE(32641);
inline const LPCTSTR IDC_SIZENWSE = MAKEINTRESOURCE(32642);
inline const LPCTSTR IDC_SIZENESW = MAKEINTRESOURCE(32643);
inline const LPCTSTR IDC_SIZEWE = MAKEINTRESOURCE(32644);
inline const LPCTSTR IDC_SIZENS = MAKEINTRESOURCE(32645);
inline const LPCTSTR IDC_SIZEALL = MAKEINTRESOURCE(32646);
inline const LPCTSTR IDC_NO = MAKEINTRESOURCE(32648);
inline const LPCTSTR IDC_HAND = MAKEINTRESOURCE(32649);
inline const LPCTSTR IDC_APPSTARTING = MAKEINTRESOURCE(32650);
inline const LPCTSTR IDC_HELP = MAKEINTRESOURCE(32651);

// The program has no cursor resources of its own, so any instance gives the system cursor of that name; an
// unknown name gives null.
HCURSOR LoadCursor(HINSTANCE hInstance, LPCTSTR lpCursorName);
// Shows the cursor over the window that is handling the mouse (the capture window, else the one under the
// pointer) and returns the previous one.
HCURSOR SetCursor(HCURSOR hCursor);
HCURSOR GetCursor();
BOOL DestroyCursor(HCURSOR hCursor);

// The pointer position in screen coordinates, kept inside the ClipCursor rectangle. Tests replace the source.
BOOL GetCursorPos(POINT* lpPoint);
BOOL SetCursorPos(int x, int y);
using CursorPosHandler = std::function<POINT()>;
// Installs a source of the position (an empty one restores the real pointer) and returns the previous one.
CursorPosHandler SetCursorPosHandler(CursorPosHandler handler);

// Confines the pointer (screen coordinates); null frees it. Incoming mouse positions are clamped to it.
BOOL ClipCursor(const RECT* lpRect);
BOOL GetClipCursor(RECT* lpRect);
// Clamps a screen point to the clip rectangle, when one is set.
POINT ClampToCursorClip(POINT point);

// For the window layer: the widget that SetCursor applies to while a mouse message is handled.
void SetCursorTarget(QWidget* widget);
QWidget* CursorTarget();
