#pragma once

#include "platform/gui/draw/Gdi.h"

#include <memory>

// An 8-, 4- or 1-bit device-independent bitmap held in one block: the header, the palette and the pixel rows,
// bottom row first. It is shown through a DIB section made on the first draw.
class CDib {
public:
    CDib();
    virtual ~CDib();
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // Frees the old bitmap and makes a new one, its palette and pixels zeroed; null when it cannot be had.
    LPBYTE Create(DWORD dwWidth, DWORD dwHeight, WORD wBitCount);
    // A copy of the source's size, depth, palette and pixels.
    LPBYTE Clone(const CDib* src);
    void Clear(BYTE byVal);
    // Moves every palette entry the percent of the way towards the colour; below 0 or above 99 counts as 100.
    void BlendPalette(COLORREF cr, long nPerc);
    void Draw(HDC hDC, long xoffset, long yoffset);
    void Free();

    LPBYTE GetBits() const;
    DWORD GetWidth() const { return static_cast<DWORD>(m_bi.biWidth); }
    DWORD GetHeight() const { return static_cast<DWORD>(m_bi.biHeight); }
    DWORD GetLineWidth() const { return m_dwLineWidth; }
    void SetPaletteIndex(BYTE byIdx, BYTE byR, BYTE byG, BYTE byB);
    // y counts from the top of the image.
    void SetPixelIndex(long x, long y, BYTE byIdx);

private:
    RGBQUAD* Palette() const;

    std::unique_ptr<BYTE[]> m_pBlock;
    BITMAPINFOHEADER m_bi{};
    DWORD m_dwLineWidth = 0;
    WORD m_wColors = 0;
    HBITMAP m_hBitmap = nullptr;
    HDC m_hMemDC = nullptr;
    void* m_pSectionBits = nullptr;
};
