#include "DlgWallSetting.h"

#include "ui/forms/DialogFields.h"

#include "core/ErrorMessage.h"
#include "core/LcdWallLayout.h"
#include "core/SystemConfig.h"
#include "core/WallModel.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>

namespace {

constexpr UINT kTemplate = 104;
constexpr int kCompanyEdit = 1029;
constexpr int kRowsCombo = 1030;
constexpr int kColsCombo = 1031;
constexpr int kResolutionCombo = 1105;
constexpr int kResolutionButton = 1087;
constexpr int kMapGrid = 1099;
constexpr int kSaveMapButton = 1107;
constexpr int kCloseButton = 1083;
constexpr int kMaxUnits = 16;
constexpr UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr UINT kCentredWrapped = DT_CENTER | DT_VCENTER | DT_WORDBREAK;

void SetCellFormat(CGridCtrl& grid, int row, int col, DWORD format) {
    if (CGridCellBase* cell = grid.GetCell(row, col))
        cell->SetFormat(format);
}

// The leading number of a text as atoi reads it (0 for none), held within the int range: a number out of range
// must reach the controller as one, to be refused.
int LeadingNumber(const char* text) {
    const long long value = std::strtoll(text, nullptr, 10);
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

} // namespace

// The controller sends to no units; the wall view it is handed follows a new resolution with its PIP window.
CDlgWallSetting::CDlgWallSetting(CWnd* pParent, LcdGridCtrl* wallView)
    : CDialog(kTemplate, pParent), m_ctrl(std::make_unique<CLcdWallCtrl>(CWallModel::GetInstance(), wallView)),
      m_layout(CWallModel::GetInstance()->GetLcdWallLayout()) {
    OnCommandId(kResolutionButton, [this]() { OnSetResolution(); });
    OnCommandId(kSaveMapButton, [this]() { OnSaveMap(); });
    OnCommandId(kCloseButton, [this]() { EndDialog(IDOK); });
}

CDlgWallSetting::~CDlgWallSetting() = default;

void CDlgWallSetting::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kRowsCombo, m_rowsCombo);
    DDX_Control(pDX, kColsCombo, m_colsCombo);
    DDX_Control(pDX, kResolutionCombo, m_resolutionCombo);
}

BOOL CDlgWallSetting::OnInitDialog() {
    CDialog::OnInitDialog();
    for (int n = 1; n <= kMaxUnits; ++n) {
        m_rowsCombo.AddString(Number(n));
        m_colsCombo.AddString(Number(n));
    }
    int rows = 0;
    int cols = 0;
    m_layout->GetRowCol(rows, cols);
    m_rowsCombo.SelectString(-1, Number(rows));
    m_colsCombo.SelectString(-1, Number(cols));

    std::string name;
    std::string version;
    std::string company;
    std::string title;
    CWallModel::GetInstance()->GetSettings()->LoadSystemInfo(name, version, company, title);
    SetDlgItemText(kCompanyEdit, company.c_str());

    int resolution = 0;
    m_layout->GetResolution(resolution);
    m_resolutionCombo.SetCurSel(resolution);

    m_grid.SubclassDlgItem(kMapGrid, this);
    FillOutputMap();
    return TRUE;
}

// "Set" of the size carries the OK id: it stores the size and the dialog stays open.
void CDlgWallSetting::OnOK() {
    if (m_ctrl->SetRowCol(GetRows(), GetCols()) == kResultOk)
        FillOutputMap();
}

void CDlgWallSetting::OnSetResolution() { m_ctrl->SetResolution(GetResolutionIndex()); }

// A stored map is shown as stored (0 as the unit's own number); a refused one stays as typed, to be mended.
void CDlgWallSetting::OnSaveMap() {
    if (m_ctrl->ApplyOutputMap(GetOutputMap()) != kResultInvalidParam)
        FillOutputMap();
}

int CDlgWallSetting::GetRows() const { return ItemNumber(this, kRowsCombo); }
int CDlgWallSetting::GetCols() const { return ItemNumber(this, kColsCombo); }
int CDlgWallSetting::GetResolutionIndex() const { return ComboSelection(this, kResolutionCombo); }

int CDlgWallSetting::GetMapCellValue(int row, int col) const { return LeadingNumber(m_grid.GetItemText(row, col)); }

OutputMap CDlgWallSetting::GetOutputMap() const {
    int rows = 0;
    int cols = 0;
    m_layout->GetRowCol(rows, cols);
    OutputMap map;
    for (int row = 1; row <= rows; ++row) {
        map.emplace_back();
        for (int col = 1; col <= cols; ++col)
            map.back().push_back(GetMapCellValue(row, col));
    }
    return map;
}

void CDlgWallSetting::FillOutputMap() {
    int rows = 0;
    int cols = 0;
    m_layout->GetRowCol(rows, cols);
    m_grid.DeleteAllItems();
    m_grid.SetFixedRowCount(1);
    m_grid.SetFixedColumnCount(1);
    m_grid.SetColumnWidth(0, 22);
    m_grid.SetRowHeight(0, 22);
    for (int col = 1; col <= cols; ++col) {
        const int index = m_grid.InsertColumn(Number(col), kCentred);
        if (index >= 0)
            m_grid.SetColumnWidth(index, 30);
    }
    // Out of memory the grid has reported it, and the rows made so far are filled.
    m_grid.SetRowCount(rows + 1);
    for (int row = 1; row < m_grid.GetRowCount(); ++row) {
        m_grid.SetItemText(row, 0, Number(row));
        SetCellFormat(m_grid, row, 0, kCentredWrapped);
        m_grid.SetRowHeight(row, 24);
    }
    for (int row = 1; row < m_grid.GetRowCount(); ++row)
        for (int col = 1; col <= cols; ++col) {
            const int output = m_layout->GetOutput(row, col);
            if (output > 0) {
                m_grid.SetItemText(row, col, Number(output));
                SetCellFormat(m_grid, row, col, kCentredWrapped);
            }
        }
    m_grid.Refresh();
}
