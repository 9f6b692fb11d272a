#pragma once

#include "platform/os/Types.h"

// Handles of the window layer. A window handle is the CWnd itself, so that code written against handles and
// code written against window objects meet without a lookup table.
class CWnd;
typedef CWnd* HWND;

struct CursorShape;
typedef const CursorShape* HCURSOR;

typedef RECT* LPRECT;
typedef const RECT* LPCRECT;
typedef POINT* LPPOINT;
typedef SIZE* LPSIZE;

// A resource named by number, as the platform passes it through a text pointer.
inline LPCTSTR MAKEINTRESOURCE(uintptr_t id) { return reinterpret_cast<LPCTSTR>(id); }
inline LPCWSTR MAKEINTRESOURCEW(uintptr_t id) { return reinterpret_cast<LPCWSTR>(id); }
inline bool IS_INTRESOURCE(LPCTSTR name) { return (reinterpret_cast<uintptr_t>(name) >> 16) == 0; }
