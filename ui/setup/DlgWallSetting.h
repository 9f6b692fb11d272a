#pragma once

#include "LcdWallCtrl.h"

#include "grid/GridCtrl.h"
#include "platform/gui/controls/ComboBox.h"
#include "platform/gui/dialogs/Dialog.h"

#include <memory>

class CLcdWallLayout;

// "LCD WALL SETTING": the wall's size, output resolution and output map (which matrix output feeds each unit),
// shown as stored. Each of its three buttons stores one of them; map edits live in the grid until "Save Map".
// "Set" of the size is the dialog's OK button, so Enter applies the size and the dialog stays open.
class CDlgWallSetting : public CDialog {
public:
    explicit CDlgWallSetting(CWnd* pParent = nullptr, LcdGridCtrl* wallView = nullptr);
    ~CDlgWallSetting() override;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

    int GetRows() const;
    int GetCols() const;
    int GetResolutionIndex() const;
    // The map cell's leading number, sign included: 0 (the unit's own number) for an empty cell or a text that does
    // not begin with a number.
    int GetMapCellValue(int row, int col) const;
    // Every map cell's number, for the wall's rows and columns as stored.
    OutputMap GetOutputMap() const;
    // Rebuilds the map grid from the wall layout: one row and one column per unit, headed by their numbers.
    void FillOutputMap();

    // The output map, one cell per unit below and right of the headings.
    CGridCtrl m_grid;

private:
    void OnSetResolution();
    void OnSaveMap();

    CComboBox m_rowsCombo;
    CComboBox m_colsCombo;
    CComboBox m_resolutionCombo;
    std::unique_ptr<CLcdWallCtrl> m_ctrl;
    CLcdWallLayout* m_layout;
};
