#include "DlgMatrixSetting.h"

#include "ui/forms/DialogFields.h"

#include "core/ChannelTable.h"
#include "core/CommPort.h"
#include "core/Matrix.h"
#include "core/MatrixMgr.h"
#include "core/NotifyEvent.h"
#include "core/WallModel.h"
#include "platform/gui/controls/ComboBox.h"
#include "platform/gui/window/ClientDC.h"

#include <algorithm>

namespace {

constexpr UINT kTemplate = 155;
constexpr int kMatrixList = 1101;
constexpr int kChannelGrid = 1102;
constexpr int kNameEdit = 1103;
constexpr int kTypeCombo = 1075;
constexpr int kChannelCountEdit = 1029;
constexpr int kIndependentCheck = 1104;
constexpr int kPortCombo = 1031;
constexpr int kBaudCombo = 1032;
constexpr int kDataBitsCombo = 1033;
constexpr int kStopBitsCombo = 1034;
constexpr int kParityCombo = 1035;
constexpr int kSerialCombos[] = {kPortCombo, kBaudCombo, kDataBitsCombo, kStopBitsCombo, kParityCombo};
constexpr int kSetButton = 1082;
constexpr int kCloseButton = 1083;
constexpr int kHeadingPadding = 16;

// The width a heading is given, or more where its text needs more at the font the control shows it in.
int FittingWidth(CWnd* control, const char* heading, int width) {
    CClientDC dc(control->GetParent());
    CFont* font = control->GetFont();
    CFont* previous = font ? dc.SelectObject(font) : nullptr;
    const int needed = dc.GetTextExtent(heading).cx + kHeadingPadding;
    if (previous)
        dc.SelectObject(previous);
    return std::max(width, needed);
}


} // namespace

// The controller stores settings and sends to no units: it is handed no wall view.
CDlgMatrixSetting::CDlgMatrixSetting(CWnd* pParent)
    : CDialog(kTemplate, pParent), m_matrixMgr(CWallModel::GetInstance()->GetMatrixMgr()),
      m_ctrl(std::make_unique<CMatrixCtrl>(CWallModel::GetInstance(), nullptr)) {
    m_matrixMgr->Register("MATRIX-CHANGE", this, &CDlgMatrixSetting::OnMatrixListChange);
    OnNotifyCode(kMatrixList, LVN_ITEMCHANGED,
                 [this](NMHDR* header, LRESULT* result) { OnListItemChanged(header, result); });
    OnCommandId(kIndependentCheck, [this]() { EnableSerialCombos(UseIndependentPort() != FALSE); });
    OnCommandId(kSetButton, [this]() { m_ctrl->ApplySettings(GetFields()); });
    OnCommandId(kCloseButton, [this]() { EndDialog(IDOK); });
}

// The manager outlives every dialog: a change saved after this one has gone must not reach it.
CDlgMatrixSetting::~CDlgMatrixSetting() { m_matrixMgr->Unregister("MATRIX-CHANGE", this); }

void CDlgMatrixSetting::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kMatrixList, m_list);
}

BOOL CDlgMatrixSetting::OnInitDialog() {
    CDialog::OnInitDialog();
    m_grid.SubclassDlgItem(kChannelGrid, this);
    m_grid.DeleteAllItems();
    m_grid.SetFixedRowCount(1);
    m_grid.SetFixedColumnCount(1);
    m_grid.SetColumnWidth(0, FittingWidth(&m_grid, "CHANNEL NUM", 50));
    m_grid.SetRowHeight(0, 26);
    m_grid.SetItemText(0, 0, "CHANNEL NUM");
    m_grid.InsertColumn("NAME", DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    m_grid.SetColumnWidth(1, 120);

    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    const struct {
        const char* heading;
        int width;
    } columns[] = {{"NUM", 60}, {"NAME", 100}, {"TYPE", 80}, {"CHANNEL NUM", 80}, {"SERIAL PORT", 80}};
    for (int i = 0; i < 5; ++i)
        m_list.InsertColumn(i, columns[i].heading, LVCFMT_CENTER,
                            FittingWidth(&m_list, columns[i].heading, columns[i].width));
    FillMatrixList();
    // Selecting the first row loads its matrix, through the list's change notification.
    m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    return TRUE;
}

void CDlgMatrixSetting::FillMatrixList() {
    int n = 1;
    for (CMatrixMgr::Position p = m_matrixMgr->Begin(); p != m_matrixMgr->End(); p = CMatrix::NextMessage(p), ++n) {
        const int row = m_list.InsertItem(n - 1, Number(n));
        if (row >= 0)
            FillMatrixRow(row, m_matrixMgr->GetAt(p));
    }
}

void CDlgMatrixSetting::FillMatrixRow(int row, CMatrix* matrix) {
    if (!matrix)
        return;
    BOOL own = FALSE;
    matrix->GetPort(own);
    const CChannelTable* channels = matrix->GetChannelTable();
    m_list.SetItemText(row, 1, matrix->GetName().c_str());
    m_list.SetItemText(row, 2, SignalTypeToName(matrix->GetSignalType()).c_str());
    m_list.SetItemText(row, 3, Number(channels ? channels->GetCount() : 0));
    m_list.SetItemText(row, 4, own ? "Y" : "N");
}

void CDlgMatrixSetting::OnListItemChanged(NMHDR* header, LRESULT* result) {
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if (change->iItem != -1 && change->uNewState != 0)
        LoadMatrix(m_list.GetItemText(change->iItem, 1));
    *result = 0;
}

void CDlgMatrixSetting::LoadMatrix(const std::string& name) {
    CMatrix* matrix = m_matrixMgr->GetAt(m_matrixMgr->FindMatrix(name));
    if (!matrix)
        return;
    m_currentMatrix = matrix;
    m_currentMatrixName = matrix->GetName();

    SetDlgItemText(kNameEdit, matrix->GetName().c_str());
    SelectItemPrefix(this, kTypeCombo, SignalTypeToName(matrix->GetSignalType()).c_str());
    CChannelTable* channels = matrix->GetChannelTable();
    SetDlgItemText(kChannelCountEdit, Number(channels ? channels->GetCount() : 0));

    BOOL own = FALSE;
    const CCommPortSetting* port = matrix->GetPort(own);
    CheckDlgButton(kIndependentCheck, own ? BST_CHECKED : BST_UNCHECKED);
    // Without a port of its own the matrix speaks on the wall's.
    if (!own)
        port = CWallModel::GetInstance()->GetCommPort();
    if (port) {
        SelectItemPrefix(this, kPortCombo, port->m_portName.c_str());
        SelectItemPrefix(this, kBaudCombo, Number(port->m_baudRate));
        SelectItemPrefix(this, kDataBitsCombo, Number(port->m_dataBits));
        SelectItemPrefix(this, kStopBitsCombo, StopBitsToString(port->m_stopBits).c_str());
        if (CComboBox* parity = ComboItem(this, kParityCombo))
            parity->SetCurSel(port->m_parity);
    }
    EnableSerialCombos(own != FALSE);
    FillChannelGrid(channels);
}

void CDlgMatrixSetting::FillChannelGrid(CChannelTable* table) {
    m_grid.DeleteNonFixedRows();
    const int count = table ? std::clamp(table->GetCount(), 0, CMatrixCtrl::kMaxChannelCount) : 0;
    for (int channel = 1; channel <= count; ++channel) {
        const int row = m_grid.InsertRow(Number(channel));
        // Out of memory the grid has reported it once, and the rows made so far are filled.
        if (row < 0)
            break;
        m_grid.SetItemText(row, 1, Number(channel));
    }
    if (table) {
        int number = 0;
        std::string name;
        for (CChannelTable::Position p = table->Begin(); table->GetEntry(p, number, name); p = table->Next(p))
            if (number >= 1 && number < m_grid.GetRowCount())
                m_grid.SetItemText(number, 1, name.c_str());
    }
    m_grid.Refresh();
}

void CDlgMatrixSetting::OnMatrixListChange(NotifyEvent* event) {
    auto* change = dynamic_cast<MatrixChangeEvent*>(event);
    if (!change || !change->m_matrix || !GetSafeHwnd())
        return;
    int row = 0;
    const int rows = m_list.GetItemCount();
    while (row < rows && m_list.GetItemText(row, 1).Str() != change->m_oldName)
        ++row;
    if (row < rows)
        FillMatrixRow(row, change->m_matrix);
    if (change->m_matrix == m_currentMatrix)
        LoadMatrix(m_currentMatrix->GetName());
    Invalidate();
}

void CDlgMatrixSetting::EnableSerialCombos(bool enable) {
    for (int id : kSerialCombos)
        EnableItem(this, id, enable);
}

CString CDlgMatrixSetting::GetMatrixName() const { return ItemText(this, kNameEdit); }
CString CDlgMatrixSetting::GetMatrixTypeText() const { return ItemText(this, kTypeCombo); }
int CDlgMatrixSetting::GetChannelCount() const { return ItemNumber(this, kChannelCountEdit); }

CString CDlgMatrixSetting::GetChannelName(int i) const {
    return m_grid.IsValid(i, 1) ? m_grid.GetItemText(i, 1) : CString();
}

BOOL CDlgMatrixSetting::UseIndependentPort() const { return IsItemChecked(this, kIndependentCheck) ? TRUE : FALSE; }
CString CDlgMatrixSetting::GetPortName() const { return ItemText(this, kPortCombo); }
int CDlgMatrixSetting::GetBaudRate() const { return ItemNumber(this, kBaudCombo); }
int CDlgMatrixSetting::GetDataBits() const { return ItemNumber(this, kDataBitsCombo); }
CString CDlgMatrixSetting::GetStopBits() const { return ItemText(this, kStopBitsCombo); }
int CDlgMatrixSetting::GetParityIndex() const { return ComboSelection(this, kParityCombo); }

MatrixFields CDlgMatrixSetting::GetFields() const {
    MatrixFields fields;
    fields.currentName = GetCurrentMatrixName();
    fields.name = GetMatrixName();
    fields.typeText = GetMatrixTypeText();
    fields.channelCount = GetChannelCount();
    for (int i = 1; i < m_grid.GetRowCount(); ++i)
        fields.channelNames.push_back(GetChannelName(i));
    fields.ownPort = UseIndependentPort();
    fields.port = {GetPortName(), GetBaudRate(), GetDataBits(), GetStopBits(), GetParityIndex()};
    return fields;
}
