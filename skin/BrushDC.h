#pragma once

#include "platform/gui/draw/Brush.h"

// Selects a solid brush of a colour (or the hollow stock brush for CLR_NONE) into a DC for the length of a
// drawing block, and the previous brush back when the block ends.
class CBrushDC : public CBrush {
public:
    CBrushDC(HDC hDC, COLORREF crColor);
    ~CBrushDC() override;
    CBrushDC(const CBrushDC&) = delete;
    CBrushDC& operator=(const CBrushDC&) = delete;

    void SetColor(COLORREF crColor);

private:
    void Select(COLORREF crColor);

    HDC m_hDC;
    HGDIOBJ m_hOldBrush = nullptr;
};
