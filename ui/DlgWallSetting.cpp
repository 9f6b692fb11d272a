#include "DlgWallSetting.h"

#include "DialogFields.h"

#include "core/LcdWallLayout.h"
#include "core/WallModel.h"

#include <cstdlib>
#include <string>

namespace {

constexpr UINT kTemplate = 104;
constexpr int kRowsCombo = 1030;
constexpr int kColsCombo = 1031;
constexpr int kResolutionCombo = 1105;
constexpr UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr UINT kCentredWrapped = DT_CENTER | DT_VCENTER | DT_WORDBREAK;

void SetCellFormat(CGridCtrl& grid, int row, int col, DWORD format) {
    if (CGridCellBase* cell = grid.GetCell(row, col))
        cell->SetFormat(format);
}

} // namespace

CDlgWallSetting::CDlgWallSetting(CWnd* pParent) : CDialog(kTemplate, pParent) {}
CDlgWallSetting::~CDlgWallSetting() = default;

int CDlgWallSetting::GetRows() const { return ItemNumber(this, kRowsCombo); }
int CDlgWallSetting::GetCols() const { return ItemNumber(this, kColsCombo); }
int CDlgWallSetting::GetResolutionIndex() const { return ComboSelection(this, kResolutionCombo); }

int CDlgWallSetting::GetMapCellValue(int row, int col) const { return std::atoi(m_grid.GetItemText(row, col)); }

void CDlgWallSetting::FillOutputMap() {
    CLcdWallLayout* layout = CWallModel::GetInstance()->GetLcdWallLayout();
    int rows = 0;
    int cols = 0;
    layout->GetRowCol(rows, cols);
    m_grid.DeleteAllItems();
    m_grid.SetFixedRowCount(1);
    m_grid.SetFixedColumnCount(1);
    m_grid.SetColumnWidth(0, 22);
    m_grid.SetRowHeight(0, 22);
    for (int col = 1; col <= cols; ++col) {
        const int index = m_grid.InsertColumn(std::to_string(col).c_str(), kCentred);
        if (index >= 0)
            m_grid.SetColumnWidth(index, 30);
    }
    m_grid.SetRowCount(rows + 1);
    for (int row = 1; row < m_grid.GetRowCount(); ++row) {
        m_grid.SetItemText(row, 0, std::to_string(row).c_str());
        SetCellFormat(m_grid, row, 0, kCentredWrapped);
        m_grid.SetRowHeight(row, 24);
    }
    for (int row = 1; row < m_grid.GetRowCount(); ++row)
        for (int col = 1; col <= cols; ++col) {
            const int output = layout->GetOutput(row, col);
            if (output > 0) {
                m_grid.SetItemText(row, col, std::to_string(output).c_str());
                SetCellFormat(m_grid, row, col, kCentredWrapped);
            }
        }
    m_grid.Refresh();
}
