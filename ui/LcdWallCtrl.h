#pragma once

#include "WallCtrl.h"

class CDlgWallSetting;
class CLcdWallLayout;

// The wall dialog's controller: the wall's size, output resolution and output map. Shows nothing.
class CLcdWallCtrl : public CWallCtrl {
public:
    using CWallCtrl::CWallCtrl;

    // Copies every map cell of the dialog into the layout and stores the map.
    int ApplyOutputMap(CDlgWallSetting* dialog);
    int SetResolution(CDlgWallSetting* dialog);
    // Stores the size; on success the dialog's map is rebuilt. 0.
    int SetRowCol(CDlgWallSetting* dialog);

private:
    static CLcdWallLayout* Layout();
};
