#pragma once

#include "platform/gui/dialogs/Dialog.h"

#include <memory>

class CWallCtrl;

// " White Balance": the offsets and gains of red, green and blue of the selected units, each a step down or up
// that goes out at once. Closed with the close box or Escape.
class WHITEBALANCE : public CDialog {
public:
    explicit WHITEBALANCE(CWnd* pParent = nullptr);
    ~WHITEBALANCE() override;

private:
    std::unique_ptr<CWallCtrl> m_ctrl;
};
