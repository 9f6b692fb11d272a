#pragma once

#include "skin/ShadeButton.h"

#include <QColor>

// A shaded button whose faces a test can read.
class ShadeProbe : public CShadeButton {
public:
    const CDib& Normal() const { return m_normalFace; }
    const CDib& Highlighted() const { return m_highlightFace; }
    using CShadeButton::PaintBackground;
};

// The palette of an 8-bit bitmap lies just before its pixels.
inline const RGBQUAD* Palette8(const CDib& dib) { return reinterpret_cast<const RGBQUAD*>(dib.GetBits()) - 256; }

// The index at (x, y), y from the top; the rows lie bottom-up in the block.
inline BYTE IndexAt(const CDib& dib, long x, long y) {
    return dib.GetBits()[(dib.GetHeight() - 1 - static_cast<DWORD>(y)) * dib.GetLineWidth() + static_cast<DWORD>(x)];
}

// The colour a face shows at (x, y).
inline QColor FaceColour(const CDib& dib, long x, long y) {
    const RGBQUAD& p = Palette8(dib)[IndexAt(dib, x, y)];
    return QColor(p.rgbRed, p.rgbGreen, p.rgbBlue);
}
