#pragma once

#include "ui/wall/WallCtrl.h"

#include <functional>

class CFrameEffect;
class CPageOthers;

// The frame-effect steps and switch of the page "Other".
class CFrameCtrl : public CWallCtrl {
public:
    CFrameCtrl(CWallModel* owner, LcdGridCtrl* wallView);

    // Each steps one value for the selection as the wall view gives it, even when it is empty.
    int HorizontalDec();
    int HorizontalInc();
    int VerticalDec();
    int VerticalInc();
    // Switches the effect on or off; the page shows the stored state (showState) before the result is shown, so
    // a failure is never shown beside a check box that still says otherwise.
    int EnableFrameEffect(BOOL on, const std::function<void()>& showState);
    // The same as the page's check box says; then the page's controls show the stored state.
    int EnableFrameEffect(CPageOthers* page);

private:
    int Step(int (CFrameEffect::*step)(const RECT*));

    CFrameEffect* m_frameEffect;
};
