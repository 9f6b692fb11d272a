#pragma once

#include "MouseTracker.h"

#include "platform/gui/controls/Button.h"

// An owner-drawn push button in the flat look of the menus: a thin frame on a light face that turns to the
// selection colours while the mouse is over it or it is pressed.
class CButtonXP : public CButton {
    DECLARE_DYNAMIC(CButtonXP)
public:
    CButtonXP() = default;
    ~CButtonXP() override;

    void PreSubclassWindow() override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnMouseLeave() override;

protected:
    CMouseTracker m_tracker;
};
