#pragma once

#include "WallCtrl.h"

class CCommPortSetting;
class CCtrlBanner;

// The banner's controller: opens and closes the wall port and sets the banner's buttons to match.
class CBannerCtrl : public CWallCtrl {
public:
    using CWallCtrl::CWallCtrl;

    // 0 and the buttons enabled, or 17 shown when the port does not open.
    int OpenPort(CCtrlBanner* banner);
    int ClosePort(CCtrlBanner* banner);
    // Opens the port with the settings it holds.
    static BOOL OpenPortDevice(CCommPortSetting& port);
};
