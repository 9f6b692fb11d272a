// The PIP controller's operations on the wall view it was handed: each reads the view's rectangles and calls the
// form that takes values; the view then places or closes its window after the result.
#include "LcdGridCtrl.h"
#include "PipCtrl.h"

#include "core/ErrorMessage.h"

int CPipCtrl::OpenWindow() {
    if (m_wallView->HasPipWindow())
        return kResultOk;
    const CRect r = m_wallView->PipRectAtCursor();
    const int result = OpenWindow(m_wallView->ToWallRect(r), m_wallView->GetWallRange());
    if (result == kResultOk)
        m_wallView->CreatePipWindow(r, kPipWindowName);
    return result;
}

int CPipCtrl::PlaceWindow(RECT r) {
    const int result = MoveWindow(m_wallView->ToWallRect(r), m_wallView->GetWallRange());
    m_wallView->MovePipWindow(result == kResultOk ? r : RECT(m_wallView->GetPipRect()));
    return result;
}

int CPipCtrl::MoveWindow() { return PlaceWindow(m_wallView->PipRectAfterMove()); }
int CPipCtrl::ResizeWindow() { return PlaceWindow(m_wallView->PipRectAfterResize()); }

int CPipCtrl::CloseWindow() {
    const int result = CloseWindow(m_wallView->GetWallRange());
    if (result == kResultOk)
        m_wallView->ClosePipWindow();
    return result;
}

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
