#include "LcdWallCtrl.h"

#include "DlgWallSetting.h"

#include "core/LcdWallLayout.h"
#include "core/WallModel.h"

CLcdWallLayout* CLcdWallCtrl::Layout() { return CWallModel::GetInstance()->GetLcdWallLayout(); }

int CLcdWallCtrl::ApplyOutputMap(CDlgWallSetting* dialog) {
    CLcdWallLayout* layout = Layout();
    int rows = 0;
    int cols = 0;
    layout->GetRowCol(rows, cols);
    for (int row = 1; row <= rows; ++row)
        for (int col = 1; col <= cols; ++col)
            layout->SetOutput(row, col, dialog->GetMapCellValue(row, col));
    return layout->SaveOutputMap();
}

int CLcdWallCtrl::SetResolution(CDlgWallSetting* dialog) {
    return Layout()->SetResolution(dialog->GetResolutionIndex());
}

int CLcdWallCtrl::SetRowCol(CDlgWallSetting* dialog) {
    if (Layout()->SetRowCol(dialog->GetRows(), dialog->GetCols()) == 0)
        dialog->FillOutputMap();
    return 0;
}
