#pragma once

#include "Gdi.h"
#include "platform/gui/base/Handles.h"

class QImage;
class QPoint;

// An icon is a shared record: an ARGB image and its hot spot (the centre, as the platform gives icons).
// Icons loaded as resources are shared and outlive DestroyIcon; made ones are freed by it.

// Registers the picture of an icon resource id, for LoadIcon and LoadImage (resource tables do this).
void RegisterIconResource(UINT id, const QImage& image);

HICON LoadIcon(UINT id);
// Icons and bitmaps by resource id, or bitmaps from a file with LR_LOADFROMFILE (a name in the file system's
// encoding, either separator: see platform/os/FilePath.h); width and height 0 keep the picture's own size. The result
// is an HICON or an HBITMAP by type, cast as the platform does.
HANDLE LoadImage(const char* name, UINT type, int cx, int cy, UINT flags);
HANDLE LoadImage(UINT id, UINT type, int cx, int cy, UINT flags);
// The platform's form: a numbered resource (MAKEINTRESOURCE), or a file name with LR_LOADFROMFILE. There is
// one module, so the instance is not used.
HANDLE LoadImage(HINSTANCE instance, LPCTSTR name, UINT type, int cx, int cy, UINT flags);
inline HANDLE LoadImageA(HINSTANCE instance, LPCTSTR name, UINT type, int cx, int cy, UINT flags) {
    return LoadImage(instance, name, type, cx, cy, flags);
}

HICON CreateIconFromImage(const QImage& image);
HICON CreateIconIndirect(const ICONINFO* info);
HICON CopyIcon(HICON icon);
BOOL DestroyIcon(HICON icon);
// Fresh colour and mask bitmaps (the caller deletes them); transparent pixels are black in the colour
// bitmap and set in the mask.
BOOL GetIconInfo(HICON icon, ICONINFO* info);

QImage IconImage(HICON icon);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
// Width and height 0 with DI_DEFAULTSIZE or without draw the icon at its own size.
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flickerFree, UINT flags);
