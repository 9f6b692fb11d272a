#pragma once

#include "ui/forms/SerialFields.h"
#include "ui/wall/WallCtrl.h"

class CDlgCommSetting;

// The serial dialog's controller: stores the dialog's five port settings for the wall port.
class CCommSettingCtrl : public CWallCtrl {
public:
    using CWallCtrl::CWallCtrl;

    // The settings file's result; nothing shown.
    int Apply(const SerialFields& port);
    // Reads the dialog's fields and stores them.
    int Apply(CDlgCommSetting* dialog);
};
