#pragma once

#include "grid/GridCtrl.h"
#include "platform/gui/Dialog.h"

// "LCD WALL SETTING": the wall's size, output resolution and output map. What its controller reads of it and
// asks of it.
class CDlgWallSetting : public CDialog {
public:
    explicit CDlgWallSetting(CWnd* pParent = nullptr);
    ~CDlgWallSetting() override;

    int GetRows() const;
    int GetCols() const;
    int GetResolutionIndex() const;
    // The map cell's text as a number; 0 for an empty cell.
    int GetMapCellValue(int row, int col) const;
    // Rebuilds the map grid from the wall layout: one row and one column per unit, headed by their numbers.
    void FillOutputMap();

    // The output map, one cell per unit below and right of the headings.
    CGridCtrl m_grid;
};
