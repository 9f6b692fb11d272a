#include "WallCtrl.h"

#include "LcdGridCtrl.h"
#include "SourceCommands.h"

#include "core/ErrorMessage.h"
#include "core/WallModel.h"

CWallCtrl::CWallCtrl(CWallModel* owner, LcdGridCtrl* wallView) : m_wallView(wallView), m_owner(owner) {}

bool CWallCtrl::SelectionArea(RECT& area) const {
    area = m_wallView ? RECT(m_wallView->GetSelectedRange()) : RECT{0, 0, 0, 0};
    return area.right != 0 && area.bottom != 0;
}

RECT CWallCtrl::SelectedAreaOrWall() const {
    RECT area;
    return SelectionArea(area) ? area : kWholeWallArea;
}

int CWallCtrl::Execute(CString name, int value, BOOL useSelection) {
    // The source replaces the PIP picture on the wall, so the window goes whatever the send below returns.
    if (IsSourceCommand(name) && m_wallView)
        m_wallView->ClosePipWindow();
    RECT area{0, 0, 0, 0};
    if (useSelection)
        area = SelectedAreaOrWall();
    return ShowErrorMessage(m_owner->SendCommand(name, &area, value), "");
}

int CWallCtrl::ExecuteWithBytes(CString name, BYTE a, BYTE b, BYTE c) {
    return ShowErrorMessage(m_owner->SendSourceCommand(name, a, b, c), "");
}

int CWallCtrl::ExecuteWithValue(CString name, BYTE value) {
    const RECT area = SelectedAreaOrWall();
    return ShowErrorMessage(m_owner->SendCommandByte(name, &area, value), "");
}
