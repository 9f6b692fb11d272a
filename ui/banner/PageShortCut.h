#pragma once

#include "platform/gui/dialogs/PropertyPage.h"

#include <memory>

class CWallCtrl;
class LcdGridCtrl;

// The page "VIDEO": brightness, contrast, saturation, sharpness and noise reduction of the video inputs, each
// stepped down or up on the selected units.
class CPageShortCut : public CPropertyPage {
public:
    // The page's commands go to the selection of the wall view.
    explicit CPageShortCut(LcdGridCtrl* wallView);
    ~CPageShortCut() override;

    BOOL OnInitDialog() override;

private:
    std::unique_ptr<CWallCtrl> m_ctrl;
};
