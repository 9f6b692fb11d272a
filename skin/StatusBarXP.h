#pragma once

#include "platform/gui/frame/StatusBar.h"

// The main window's status bar in the flat look: at least 20 pixels high, its panes without sunken borders,
// each framed by a thin shadow-coloured rectangle instead.
class CStatusBarXP : public CStatusBar {
    DECLARE_DYNAMIC(CStatusBarXP)
public:
    CStatusBarXP() = default;
    ~CStatusBarXP() override;

    // As the base's; FALSE, with the bar unchanged, when the base refuses the indicators.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

    void OnPaint() override;
};
