#pragma once

#include "platform/gui/dialogs/PropertyPage.h"

#include <memory>

class CWallCtrl;

// The page "VGA/DVI": brightness, contrast, position and clock of the computer inputs, each stepped down or up on
// the selected units; the automatic adjustment; and the ADC and white-balance dialogs, opened modally.
class CPageVgaDvi : public CPropertyPage {
public:
    CPageVgaDvi();
    ~CPageVgaDvi() override;

    BOOL OnInitDialog() override;
    void OnAdc();
    void OnColorTemperature();

private:
    std::unique_ptr<CWallCtrl> m_ctrl;
};
