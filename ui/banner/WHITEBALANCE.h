#pragma once

#include "platform/gui/dialogs/Dialog.h"

#include <memory>

class CWallCtrl;
class LcdGridCtrl;

// " White Balance": the offsets and gains of red, green and blue of the selected units, each a step down or up
// that goes out at once. Closed with the close box or Escape.
class WHITEBALANCE : public CDialog {
public:
    // The dialog's commands go to the selection of the wall view.
    explicit WHITEBALANCE(LcdGridCtrl* wallView, CWnd* pParent = nullptr);
    ~WHITEBALANCE() override;

private:
    std::unique_ptr<CWallCtrl> m_ctrl;
};
