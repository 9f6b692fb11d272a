// The PIP controller's operations on the wall view it was handed: each has the view make its request, which reads
// the view's rectangles and calls the form that takes values, or reads them itself.
#include "LcdGridCtrl.h"
#include "PipCtrl.h"

int CPipCtrl::OpenWindow() { return m_wallView->RequestPipOpen(); }
int CPipCtrl::MoveWindow() { return m_wallView->RequestPipPlace(m_wallView->PipRectAfterMove()); }
int CPipCtrl::ResizeWindow() { return m_wallView->RequestPipPlace(m_wallView->PipRectAfterResize()); }
int CPipCtrl::CloseWindow() { return m_wallView->RequestPipClose(); }

int CPipCtrl::SetSourceDvi() { return SetSourceDvi(m_wallView->GetWallRange()); }
int CPipCtrl::SetSourceHdmi() { return SetSourceHdmi(m_wallView->GetWallRange()); }
int CPipCtrl::SetSourceVga() { return SetSourceVga(m_wallView->GetWallRange()); }
int CPipCtrl::SetSourceVideo1() { return SetSourceVideo1(m_wallView->GetWallRange()); }
int CPipCtrl::SetSourceVideo2() { return SetSourceVideo2(m_wallView->GetWallRange()); }

RECT CPipCtrl::ClampRect(RECT newRect, RECT gridRect) const {
    return ClampRect(newRect, gridRect, m_wallView->LeastPipSize(), m_wallView->GetPipRect());
}

RECT CPipCtrl::FitIntoGrid(RECT r, RECT gridRect) const { return FitIntoGrid(r, gridRect, m_wallView->LeastPipSize()); }

int CPipCtrl::SendMove(RECT r) { return SendMove(m_wallView->ToWallRect(r), m_wallView->GetWallRange()); }
