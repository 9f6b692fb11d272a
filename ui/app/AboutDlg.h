#pragma once

#include "platform/gui/dialogs/Dialog.h"

// The program's name, version and copyright line.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override;
};
