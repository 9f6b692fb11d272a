#pragma once

#include "ui/wall/WallCtrl.h"

class CCommPortSetting;
class CCtrlBanner;

// The banner's controller: opens and closes the wall port and sets the banner's buttons to match.
class CBannerCtrl : public CWallCtrl {
public:
    using CWallCtrl::CWallCtrl;

    // Opens the wall port: 0, or 17 shown when it does not open.
    int OpenPort();
    // Closes the wall port: TRUE once it is closed; nothing shown.
    int ClosePort();
    // The same, and the banner's buttons set to match when the port opened or closed.
    int OpenPort(CCtrlBanner* banner);
    int ClosePort(CCtrlBanner* banner);
    // Opens the port with the settings it holds.
    static BOOL OpenPortDevice(CCommPortSetting& port);
};
