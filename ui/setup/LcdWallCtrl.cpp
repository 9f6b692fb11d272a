#include "LcdWallCtrl.h"

#include "core/ErrorMessage.h"
#include "core/LcdWallLayout.h"
#include "core/WallModel.h"
#include "ui/wall/LcdGridCtrl.h"

CLcdWallLayout* CLcdWallCtrl::Layout() { return CWallModel::GetInstance()->GetLcdWallLayout(); }

int CLcdWallCtrl::ApplyOutputMap(const OutputMap& map) {
    // One number no matrix output has refuses the whole map: a part of it stored would feed units the operator
    // has not checked.
    for (const std::vector<int>& row : map)
        for (int output : row)
            if (!CLcdWallLayout::IsOutputNumber(output))
                return ShowErrorMessage(kResultInvalidParam, "");
    CLcdWallLayout* layout = Layout();
    int rows = 0;
    int cols = 0;
    layout->GetRowCol(rows, cols);
    for (int row = 1; row <= rows; ++row)
        for (int col = 1; col <= cols; ++col) {
            const bool held = static_cast<size_t>(row) <= map.size() && static_cast<size_t>(col) <= map[row - 1].size();
            layout->SetOutput(row, col, held ? map[row - 1][col - 1] : 0);
        }
    return layout->SaveOutputMap();
}

int CLcdWallCtrl::SetResolution(int index) {
    const int result = Layout()->SetResolution(index);
    // A refused save still leaves the new resolution in use until the program ends.
    if (result != kResultInvalidParam && m_wallView)
        m_wallView->FollowResolution();
    return result;
}

int CLcdWallCtrl::SetRowCol(int rows, int cols) { return Layout()->SetRowCol(rows, cols); }
