#pragma once

#include "ui/wall/WallCtrl.h"

#include <vector>

class CDlgWallSetting;
class CLcdWallLayout;

// The output map as the wall dialog's grid holds it: the number for each unit, row by row from row 1 and column 1.
// A unit the table does not reach reads 0, its own number.
using OutputMap = std::vector<std::vector<int>>;

// The wall dialog's controller: the wall's size, output resolution and output map. Shows only a refused map.
class CLcdWallCtrl : public CWallCtrl {
public:
    using CWallCtrl::CWallCtrl;

    // Copies the map into the layout for every unit of the wall and stores it; the file's result. A number below 0
    // or above the largest channel is refused with 64 shown, and nothing stored.
    int ApplyOutputMap(const OutputMap& map);
    // Stores the resolution; the layout's result. The wall view it was handed follows it.
    int SetResolution(int index);
    // Stores the size; the layout's result.
    int SetRowCol(int rows, int cols);

    // The same, reading the dialog's fields; after a size was stored the dialog's map is rebuilt, and 0 returned.
    int ApplyOutputMap(CDlgWallSetting* dialog);
    int SetResolution(CDlgWallSetting* dialog);
    int SetRowCol(CDlgWallSetting* dialog);

private:
    static CLcdWallLayout* Layout();
};
