#pragma once

#include "platform/gui/dialogs/Dialog.h"

#include <memory>

class CWallCtrl;
class LcdGridCtrl;

// "ADC ADJUST": the offsets and gains of the red, green and blue converters of the selected units, each a step
// down or up that goes out at once. Closed with the close box or Escape.
class ADCADJUST : public CDialog {
public:
    // The dialog's commands go to the selection of the wall view.
    explicit ADCADJUST(LcdGridCtrl* wallView, CWnd* pParent = nullptr);
    ~ADCADJUST() override;

private:
    std::unique_ptr<CWallCtrl> m_ctrl;
};
