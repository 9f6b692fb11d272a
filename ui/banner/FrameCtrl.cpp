#include "FrameCtrl.h"

#include "core/ErrorMessage.h"
#include "core/FrameEffect.h"
#include "core/WallModel.h"

CFrameCtrl::CFrameCtrl(CWallModel* owner, LcdGridCtrl* wallView)
    : CWallCtrl(owner, wallView), m_frameEffect(owner->GetFrameEffect()) {}

int CFrameCtrl::Step(int (CFrameEffect::*step)(const RECT*)) {
    RECT area;
    SelectionArea(area); // an empty selection goes as it is
    return ShowErrorMessage((m_frameEffect->*step)(&area), "");
}

int CFrameCtrl::HorizontalDec() { return Step(&CFrameEffect::DecreaseHorizontal); }
int CFrameCtrl::HorizontalInc() { return Step(&CFrameEffect::IncreaseHorizontal); }
int CFrameCtrl::VerticalDec() { return Step(&CFrameEffect::DecreaseVertical); }
int CFrameCtrl::VerticalInc() { return Step(&CFrameEffect::IncreaseVertical); }

int CFrameCtrl::EnableFrameEffect(BOOL on, const std::function<void()>& showState) {
    const int result = m_frameEffect->SetEnabled(on);
    showState();
    return ShowErrorMessage(result, "");
}
