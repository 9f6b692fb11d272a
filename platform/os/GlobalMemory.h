#pragma once

#include "Types.h"

#include <cstddef>

// Movable memory blocks, as the clipboard and drag and drop hand text around. A handle stays valid until it is
// freed; calls on a handle that is not (or no longer) a live block fail instead of touching memory.

typedef HANDLE HGLOBAL;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_MODIFY = 0x0080;
constexpr UINT GMEM_DDESHARE = 0x2000;
constexpr UINT GMEM_SHARE = 0x2000;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

// nullptr when the memory cannot be had. Every block starts zero-filled.
HGLOBAL GlobalAlloc(UINT flags, size_t bytes);
// The same handle with the new size (growth zero-filled), or nullptr with the block left as it was.
HGLOBAL GlobalReAlloc(HGLOBAL mem, size_t bytes, UINT flags);
// nullptr for a bad handle or an empty block.
void* GlobalLock(HGLOBAL mem);
// TRUE while locks remain.
BOOL GlobalUnlock(HGLOBAL mem);
// 0 for a bad handle.
size_t GlobalSize(HGLOBAL mem);
UINT GlobalFlags(HGLOBAL mem);
// nullptr on success; the handle itself when it was no live block.
HGLOBAL GlobalFree(HGLOBAL mem);
