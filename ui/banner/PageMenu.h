#pragma once

#include "platform/gui/dialogs/PropertyPage.h"

#include <memory>

class CWallCtrl;
class LcdGridCtrl;

// The page "MENU": the keys of the units' on-screen menu, picture rotation, main and sub source, and the units'
// serial-number commands.
class CPageMenu : public CPropertyPage {
public:
    // The page's commands go to the selection of the wall view.
    explicit CPageMenu(LcdGridCtrl* wallView);
    ~CPageMenu() override;

    BOOL OnInitDialog() override;
    // Sends "YPBPR" to the whole wall with the serial number and the address of the two edit boxes, packed as
    // decimal digits.
    void OnDoSrand();

private:
    std::unique_ptr<CWallCtrl> m_ctrl;
};
