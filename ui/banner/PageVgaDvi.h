#pragma once

#include "platform/gui/dialogs/PropertyPage.h"

#include <memory>

class CWallCtrl;
class LcdGridCtrl;

// The page "VGA/DVI": brightness, contrast, position and clock of the computer inputs, each stepped down or up on
// the selected units; the automatic adjustment; and the ADC and white-balance dialogs, opened modally.
class CPageVgaDvi : public CPropertyPage {
public:
    // The page's commands go to the selection of the wall view.
    explicit CPageVgaDvi(LcdGridCtrl* wallView);
    ~CPageVgaDvi() override;

    BOOL OnInitDialog() override;
    void OnAdc();
    void OnColorTemperature();

private:
    LcdGridCtrl* m_wallView;
    std::unique_ptr<CWallCtrl> m_ctrl;
};
