#pragma once

#include "Dib.h"
#include "IconButton.h"

// The push button of every page and dialog: an icon button whose background is a generated face, a palette from
// the button shadow through the face to the highlight with the pixels in a gradient pattern and a little noise,
// and a lighter copy of it for the hover look.
class CShadeButton : public CIconButton {
    DECLARE_DYNAMIC(CShadeButton)
public:
    // The patterns; any other type is a flat face with noise. Text buttons take the vertical soft ramp, icon
    // buttons the diagonal one.
    enum : UINT {
        kFlat,
        kDiagonalRamp,
        kVerticalRamp,
        kHorizontalRamp,
        kVerticalSoftRamp,
        kHorizontalSoftRamp,
        kDiagonalSoftRamp,
        kBandedSoftRamp,
        kScratches,
    };

    CShadeButton();
    ~CShadeButton() override;

    // Builds both faces at the window's present size: the pattern with noise of +-granularity, the palette
    // moved by the colouring percent towards the colour, the hover face moved by the highlight percent towards
    // the button highlight. Call it once the window exists, and again after a size change.
    void SetShade(UINT shadeID = kFlat, BYTE granularity = 8, BYTE highlight = 10, BYTE coloring = 0,
                  COLORREF color = 0);

protected:
    DWORD PaintBackground(CDC* pDC, CRect* pRect) override;
    DWORD PaintBorder(CDC* pDC, CRect* pRect) override;

    CDib m_normalFace;
    CDib m_highlightFace;
};
