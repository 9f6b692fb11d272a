#pragma once

#include "FrameworkIds.h"
#include "platform/gui/window/Wnd.h"

// A bar docked along an edge of its frame (the status bar): the frame lays it out through CalcFixedLayout.
class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar() = default;
    ~CControlBar() override;

    // The bar's size along and across its edge; a stretched bar takes the whole edge.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }

    void OnDestroy() override;

protected:
    // Creates the bar's window and hands it to its frame's layout.
    BOOL CreateBar(DWORD dwStyle, CWnd* pParentWnd, UINT nID, LPCTSTR lpszClassName);

    DWORD m_dwStyle = 0;
};
