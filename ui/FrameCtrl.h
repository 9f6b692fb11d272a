#pragma once

#include "WallCtrl.h"

class CFrameEffect;
class CPageOthers;

// The frame-effect steps and switch of the page "Other".
class CFrameCtrl : public CWallCtrl {
public:
    explicit CFrameCtrl(CWallModel* owner);

    // Each steps one value for the selection as the wall view gives it, even when it is empty.
    int HorizontalDec();
    int HorizontalInc();
    int VerticalDec();
    int VerticalInc();
    // Switches the effect as the page's check box says and sets the page's controls from the stored state.
    int EnableFrameEffect(CPageOthers* page);

private:
    int Step(int (CFrameEffect::*step)(const RECT*));

    CFrameEffect* m_frameEffect;
};
