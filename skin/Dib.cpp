#include "Dib.h"

#include "platform/gui/draw/DC.h"

#include <cstring>
#include <new>

namespace {

constexpr DWORD kHeaderSize = sizeof(BITMAPINFOHEADER);
// The header keeps sizes as signed 32-bit values and the image size as an unsigned one.
constexpr uint64_t kMaxSide = 0x7FFFFFFF;
constexpr uint64_t kMaxImage = 0xFFFFFFFF;

WORD PaletteEntries(WORD wBitCount) {
    switch (wBitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

BYTE Blend(BYTE entry, BYTE colour, long percent) {
    return static_cast<BYTE>((entry * (100 - percent) + colour * percent) / 100);
}

} // namespace

CDib::CDib() = default;

CDib::~CDib() { Free(); }

LPBYTE CDib::Create(DWORD dwWidth, DWORD dwHeight, WORD wBitCount) {
    Free();
    const uint64_t lineWidth = (static_cast<uint64_t>(wBitCount) * dwWidth + 31) / 32 * 4;
    const uint64_t imageSize = lineWidth * dwHeight;
    if (dwWidth > kMaxSide || dwHeight > kMaxSide || imageSize > kMaxImage)
        return nullptr;
    const WORD colors = PaletteEntries(wBitCount);
    const uint64_t blockSize = kHeaderSize + colors * sizeof(RGBQUAD) + imageSize;
    // Zeroed, so a face nobody paints shows palette entry 0 rather than whatever the memory held.
    m_pBlock.reset(new (std::nothrow) BYTE[blockSize]());
    if (!m_pBlock)
        return nullptr;
    m_dwLineWidth = static_cast<DWORD>(lineWidth);
    m_wColors = colors;
    m_bi.biSize = kHeaderSize;
    m_bi.biWidth = static_cast<LONG>(dwWidth);
    m_bi.biHeight = static_cast<LONG>(dwHeight);
    m_bi.biPlanes = 1;
    m_bi.biBitCount = wBitCount;
    m_bi.biCompression = BI_RGB;
    m_bi.biSizeImage = static_cast<DWORD>(imageSize);
    std::memcpy(m_pBlock.get(), &m_bi, kHeaderSize);
    return m_pBlock.get();
}

LPBYTE CDib::Clone(const CDib* src) {
    if (src == this)
        return m_pBlock.get();
    if (!src || !src->m_pBlock) {
        Free();
        return nullptr;
    }
    if (!Create(src->GetWidth(), src->GetHeight(), src->m_bi.biBitCount))
        return nullptr;
    std::memcpy(m_pBlock.get(), src->m_pBlock.get(),
                kHeaderSize + m_wColors * sizeof(RGBQUAD) + static_cast<size_t>(m_bi.biSizeImage));
    return m_pBlock.get();
}

void CDib::Clear(BYTE byVal) {
    if (m_pBlock)
        std::memset(GetBits(), byVal, m_bi.biSizeImage);
}

void CDib::BlendPalette(COLORREF cr, long nPerc) {
    if (!m_pBlock || m_wColors == 0)
        return;
    const long percent = (nPerc < 0 || nPerc > 99) ? 100 : nPerc;
    RGBQUAD* palette = Palette();
    for (WORD i = 0; i < m_wColors; ++i) {
        palette[i].rgbRed = Blend(palette[i].rgbRed, GetRValue(cr), percent);
        palette[i].rgbGreen = Blend(palette[i].rgbGreen, GetGValue(cr), percent);
        palette[i].rgbBlue = Blend(palette[i].rgbBlue, GetBValue(cr), percent);
    }
}

void CDib::Draw(HDC hDC, long xoffset, long yoffset) {
    if (!m_pBlock || m_bi.biWidth == 0 || m_bi.biHeight == 0)
        return;
    if (!m_hBitmap) {
        m_hBitmap = CreateDIBSection(hDC, reinterpret_cast<const BITMAPINFO*>(m_pBlock.get()), DIB_RGB_COLORS,
                                     &m_pSectionBits, nullptr, 0);
        if (!m_hBitmap)
            return;
    }
    if (!m_pSectionBits)
        return;
    if (!m_hMemDC) {
        m_hMemDC = CreateCompatibleDC(hDC);
        if (!m_hMemDC)
            return;
    }
    std::memcpy(m_pSectionBits, GetBits(), m_bi.biSizeImage);
    HGDIOBJ old = SelectObject(m_hMemDC, reinterpret_cast<HGDIOBJ>(m_hBitmap));
    BitBlt(hDC, xoffset, yoffset, m_bi.biWidth, m_bi.biHeight, m_hMemDC, 0, 0, SRCCOPY);
    SelectObject(m_hMemDC, old);
}

void CDib::Free() {
    if (m_hMemDC)
        DeleteDC(m_hMemDC);
    if (m_hBitmap)
        DeleteObject(reinterpret_cast<HGDIOBJ>(m_hBitmap));
    m_hMemDC = nullptr;
    m_hBitmap = nullptr;
    m_pSectionBits = nullptr;
    m_pBlock.reset();
    m_bi = BITMAPINFOHEADER{};
    m_dwLineWidth = 0;
    m_wColors = 0;
}

LPBYTE CDib::GetBits() const { return m_pBlock ? m_pBlock.get() + kHeaderSize + m_wColors * sizeof(RGBQUAD) : nullptr; }

RGBQUAD* CDib::Palette() const { return reinterpret_cast<RGBQUAD*>(m_pBlock.get() + kHeaderSize); }

void CDib::SetPaletteIndex(BYTE byIdx, BYTE byR, BYTE byG, BYTE byB) {
    if (!m_pBlock || byIdx >= m_wColors)
        return;
    Palette()[byIdx] = RGBQUAD{byB, byG, byR, 0};
}

void CDib::SetPixelIndex(long x, long y, BYTE byIdx) {
    if (!m_pBlock || m_wColors == 0 || x < 0 || y < 0 || x >= m_bi.biWidth || y >= m_bi.biHeight)
        return;
    BYTE* row = GetBits() + static_cast<size_t>(m_bi.biHeight - y - 1) * m_dwLineWidth;
    if (m_bi.biBitCount == 8) {
        row[x] = byIdx;
        return;
    }
    // Narrower pixels share a byte, the leftmost in the high bits.
    const int bits = m_bi.biBitCount;
    const int perByte = 8 / bits;
    const int shift = (perByte - 1 - static_cast<int>(x % perByte)) * bits;
    const int mask = ((1 << bits) - 1) << shift;
    BYTE& cell = row[x / perByte];
    cell = static_cast<BYTE>((cell & ~mask) | ((byIdx << shift) & mask));
}
