#include "GridDropTarget.h"

#include "grid/GridCtrl.h"

#include "platform/gui/window/Keys.h"

IMPLEMENT_DYNAMIC(CGridDropTarget, COleDropTarget)

CGridDropTarget::~CGridDropTarget() = default;

BOOL CGridDropTarget::IsRegistered() const {
    // The registration ends with the window, whoever destroys it.
    return (m_registered && GetRegisteredWindow()) ? TRUE : FALSE;
}

BOOL CGridDropTarget::Register(CWnd* pWnd) {
    static bool registering = false;
    if (registering || IsRegistered())
        return FALSE;
    auto* grid = dynamic_cast<CGridCtrl*>(pWnd);
    if (!grid)
        return FALSE;
    registering = true;
    m_gridCtrl = grid;
    m_registered = COleDropTarget::Register(pWnd);
    registering = false;
    return m_registered;
}

void CGridDropTarget::Revoke() {
    m_registered = FALSE;
    COleDropTarget::Revoke();
}

CGridCtrl* CGridDropTarget::GridOf(CWnd* pWnd) const {
    return (IsRegistered() && m_gridCtrl && pWnd == m_gridCtrl) ? m_gridCtrl : nullptr;
}

DROPEFFECT CGridDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    CGridCtrl* grid = GridOf(pWnd);
    return grid ? grid->OnDragEnter(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT CGridDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    CGridCtrl* grid = GridOf(pWnd);
    return grid ? grid->OnDragOver(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

BOOL CGridDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) {
    CGridCtrl* grid = GridOf(pWnd);
    return grid ? grid->OnDrop(pDataObject, dropEffect, point) : FALSE;
}

void CGridDropTarget::OnDragLeave(CWnd* pWnd) {
    if (CGridCtrl* grid = GridOf(pWnd))
        grid->OnDragLeave();
}

DROPEFFECT CGridDropTarget::OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint /*point*/) {
    if (!GridOf(pWnd))
        return DROPEFFECT_NONE;
    return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}
