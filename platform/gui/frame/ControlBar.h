#pragma once

#include "FrameworkIds.h"
#include "platform/gui/window/Wnd.h"

class CFrameWnd;

// A bar docked along an edge of its frame (the status bar): the frame lays it out through CalcFixedLayout.
class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar() = default;
    ~CControlBar() override;

    // The bar's size along and across its edge; a stretched bar takes the whole edge.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // Brings what the bar shows up to date with the state of its commands; the frame asks for it whenever the
    // program is idle. The base shows nothing that has a state.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler);
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }

    void OnDestroy() override;

protected:
    // Creates the bar's window and hands it to its frame's layout.
    BOOL CreateBar(DWORD dwStyle, CWnd* pParentWnd, UINT nID, LPCTSTR lpszClassName);

    DWORD m_dwStyle = 0;
};
