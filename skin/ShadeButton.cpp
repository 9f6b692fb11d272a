#include "ShadeButton.h"

#include "platform/gui/draw/SysColor.h"
#include "platform/os/Rand.h"
#include "platform/os/RuntimeClass.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CShadeButton, CIconButton)

namespace {

constexpr int kRandRange = CRT_RAND_MAX;
constexpr int kStrokes = 200;
// The scratches divide the random range by each side, and the banded ramp by a sixth of the width and a quarter
// of the squared height: outside these sizes they would divide by zero, and the face is flat instead.
constexpr long kMaxScratchSide = kRandRange;
constexpr long kMinBandWidth = 6;
constexpr long kMinBandHeight = 2;

// The pattern's pixels, written in the order the rows lie in the block: the bottom row first, each from the left.
class FaceWriter {
public:
    FaceWriter(CDib& dib, long width, long height)
        : m_bits(dib.GetBits()), m_line(static_cast<long>(dib.GetLineWidth())), m_width(width), m_height(height) {}

    // f(row, column) gives the value; row 0 is the bottom row.
    template <class F> void Fill(F f) {
        if (!m_bits)
            return;
        for (long row = 0; row < m_height; ++row)
            for (long column = 0; column < m_width; ++column)
                At(row, column) = static_cast<BYTE>(f(row, column, At(row, column)));
    }

    BYTE& At(long row, long column) { return m_bits[row * m_line + column]; }

private:
    LPBYTE m_bits;
    long m_line;
    long m_width;
    long m_height;
};

long Cube(long a) { return a * a * a; }

} // namespace

CShadeButton::CShadeButton() = default;

CShadeButton::~CShadeButton() = default;

void CShadeButton::SetShade(UINT shadeID, BYTE granularity, BYTE highlight, BYTE coloring, COLORREF color) {
    CRect window;
    GetWindowRect(&window);
    const long w = std::max(0L, static_cast<long>(window.Width()));
    const long h = std::max(0L, static_cast<long>(window.Height()));
    m_highlightFace.Free();
    if (!m_normalFace.Create(static_cast<DWORD>(w), static_cast<DWORD>(h), 8))
        return;

    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    auto mix = [](BYTE from, BYTE to, int share) {
        return static_cast<BYTE>((from * (128 - share) + to * share) / 128);
    };
    for (int i = 0; i < 256; ++i) {
        const COLORREF from = i < 128 ? shadow : face;
        const COLORREF to = i < 128 ? face : light;
        const int share = i < 128 ? i : i - 127;
        m_normalFace.SetPaletteIndex(static_cast<BYTE>(i), mix(GetRValue(from), GetRValue(to), share),
                                     mix(GetGValue(from), GetGValue(to), share),
                                     mix(GetBValue(from), GetBValue(to), share));
    }
    m_normalFace.BlendPalette(color, coloring);

    const long g = granularity;
    const long divisor = g ? static_cast<long>(static_cast<unsigned>(kRandRange) / (2u * granularity)) : kRandRange;
    auto noise = [g, divisor] { return CrtRand() / divisor - g; };

    if (shadeID == kBandedSoftRamp && (w < kMinBandWidth || h < kMinBandHeight))
        shadeID = kFlat;
    if (shadeID == kScratches && (w < 1 || h < 1 || w > kMaxScratchSide || h > kMaxScratchSide))
        shadeID = kFlat;

    FaceWriter pixels(m_normalFace, w, h);
    // Soft ramps: a cube that is nearly flat in the middle, rising to both ends.
    auto verticalSoft = [h](long row, long factor) {
        const long a = (255 * row) / h - 127;
        return (Cube(a) / 16384) * factor / 128 + 128;
    };
    switch (shadeID) {
    case kDiagonalRamp: {
        const long d = (255 - 2 * g) / 2;
        pixels.Fill([&](long row, long column, BYTE) { return (d * (w - column)) / w + (d * row) / h + g + noise(); });
        break;
    }
    case kVerticalRamp:
        pixels.Fill([&](long row, long, BYTE) { return ((255 - 2 * g) * row) / h + g + noise(); });
        break;
    case kHorizontalRamp:
        pixels.Fill([&](long, long column, BYTE) { return ((255 - 2 * g) * (w - column)) / w + g + noise(); });
        break;
    case kVerticalSoftRamp:
        pixels.Fill([&](long row, long, BYTE) { return verticalSoft(row, 128 - g) + noise(); });
        break;
    case kHorizontalSoftRamp:
        pixels.Fill([&](long, long column, BYTE) {
            const long b = (255 * (w - column)) / w - 127;
            return (Cube(b) / 16384) * (128 - g) / 128 + 128 + noise();
        });
        break;
    case kDiagonalSoftRamp:
        pixels.Fill([&](long row, long column, BYTE) {
            const long a = (255 * row) / h - 127;
            const long b = (255 * (w - column)) / w - 127;
            long v = ((Cube(a) / 16384 + Cube(b) / 16384) * (128 - g)) / 128 + 128;
            if (v < g)
                v = g;
            if (v > 255 - g)
                v = 255 - g;
            return v + noise();
        });
        break;
    case kBandedSoftRamp: {
        pixels.Fill([&](long row, long, BYTE) { return verticalSoft(row, 128 - 2 * g); });
        const long k = std::min(w / 6, 16L);
        const long long quarter = static_cast<long long>(h) * h / 4;
        pixels.Fill([&](long row, long column, BYTE v) -> long {
            const long long r = row - h / 2;
            const long long p = (k * r * r) / quarter + w / 2 - k;
            const long x = column - w / 2;
            if (x > p)
                return (128 * (w - column)) / k + g;
            if (x + p < 0)
                return (255 - g) - (128 * column) / k;
            return v;
        });
        pixels.Fill([&](long, long, BYTE v) { return v + noise(); });
        break;
    }
    case kScratches: {
        m_normalFace.Clear(0);
        const long shorter = std::min(w, h);
        for (int stroke = 0; stroke < kStrokes; ++stroke) {
            const long x0 = CrtRand() / (kRandRange / w);
            const long y0 = CrtRand() / (kRandRange / h);
            const long length = (CrtRand() / (kRandRange / shorter)) / 2;
            const auto index = static_cast<BYTE>(CrtRand() / 819);
            for (long t = 0; t < length; ++t) {
                if (x0 - t > 0 && y0 + t < h)
                    m_normalFace.SetPixelIndex(x0 - t, y0 + t, index);
                if (x0 + t < w && y0 - t > 0)
                    m_normalFace.SetPixelIndex(w - x0 + t, y0 - t, index);
            }
        }
        const long d = (215 - 2 * g) / 2;
        pixels.Fill([&](long row, long column, BYTE v) {
            return v + (d * (w - column)) / w + (d * row) / h + CrtRand() / divisor;
        });
        break;
    }
    default: pixels.Fill([&](long, long, BYTE) { return 128 + noise(); }); break;
    }

    if (m_highlightFace.Clone(&m_normalFace))
        m_highlightFace.BlendPalette(GetSysColor(COLOR_BTNHIGHLIGHT), highlight);
}

DWORD CShadeButton::PaintBackground(CDC* pDC, CRect* /*pRect*/) {
    if (!m_mouseOver)
        m_normalFace.Draw(pDC->m_hDC, 0, 0);
    else if (m_pressed)
        m_highlightFace.Draw(pDC->m_hDC, 1, 1);
    else
        m_highlightFace.Draw(pDC->m_hDC, 0, 0);
    return 0;
}

DWORD CShadeButton::PaintBorder(CDC* pDC, CRect* pRect) { return CIconButton::PaintBorder(pDC, pRect); }
