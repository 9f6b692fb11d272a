#include "DlgMatrixSetting.h"

#include "DialogFields.h"

namespace {

constexpr UINT kTemplate = 155;
constexpr int kNameEdit = 1103;
constexpr int kTypeCombo = 1075;
constexpr int kChannelCountEdit = 1029;
constexpr int kIndependentCheck = 1104;
constexpr int kPortCombo = 1031;
constexpr int kBaudCombo = 1032;
constexpr int kDataBitsCombo = 1033;
constexpr int kStopBitsCombo = 1034;
constexpr int kParityCombo = 1035;

} // namespace

CDlgMatrixSetting::CDlgMatrixSetting(CWnd* pParent) : CDialog(kTemplate, pParent) {}
CDlgMatrixSetting::~CDlgMatrixSetting() = default;

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
