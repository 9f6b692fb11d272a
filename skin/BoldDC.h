#pragma once

#include "platform/gui/draw/Font.h"

// Makes the DC's current font bold (weight 700) or normal (400) for the length of a drawing block, and
// puts the previous font back when the block ends. A font that already has the asked weight is left alone.
class CBoldDC : public CFont {
public:
    CBoldDC(HDC hDC, bool bBold);
    ~CBoldDC() override;
    CBoldDC(const CBoldDC&) = delete;
    CBoldDC& operator=(const CBoldDC&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hDefFont = nullptr;
};
