#pragma once

#include "platform/gui/frame/ToolBar.h"

// A tool bar in the flat look of the menus: flat buttons on a light face that take the selection colours when
// hot, pressed or checked, drop-down arrows, and controls placed on separators that carry a command id (hidden
// while the bar is docked vertically).
class CToolBarXP : public CToolBar {
    DECLARE_DYNAMIC(CToolBarXP)
public:
    CToolBarXP() = default;
    ~CToolBarXP() override;

    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

protected:
    // A press on a drop-down arrow: the frame gets the negated command id.
    void OnDropDown(NMHDR* pNotifyStruct, LRESULT* pResult);

    enum : BYTE { kNoWrap, kWrapVertical, kWrapHorizontal };
    // Set only while the base layout runs.
    BYTE m_wrapMode = kNoWrap;
};
