#pragma once

#include "platform/gui/data/OleDropTarget.h"

class CGridCtrl;

// Makes a grid window a drop target for cell text: the drag events over it go to the grid's own handlers.
class CGridDropTarget : public COleDropTarget {
    DECLARE_DYNAMIC(CGridDropTarget)
public:
    CGridDropTarget() = default;
    ~CGridDropTarget() override;

    // FALSE when registered already, while a registration runs, or for a window that is not a grid.
    BOOL Register(CWnd* pWnd) override;
    void Revoke() override;
    BOOL IsRegistered() const;

    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;
    // Copy with Ctrl, else move; never a scroll: the grid does not scroll while a drag hovers over it.
    DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point) override;

private:
    // The registered grid when pWnd is its window, else null.
    CGridCtrl* GridOf(CWnd* pWnd) const;

    CGridCtrl* m_gridCtrl = nullptr;
    BOOL m_registered = FALSE;
};
