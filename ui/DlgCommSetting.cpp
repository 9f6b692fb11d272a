#include "DlgCommSetting.h"

#include "DialogFields.h"

namespace {

constexpr UINT kTemplate = 131;
constexpr int kPortCombo = 1028;
constexpr int kBaudCombo = 1024;
constexpr int kDataBitsCombo = 1025;
constexpr int kParityCombo = 1026;
constexpr int kStopBitsCombo = 1027;

} // namespace

CDlgCommSetting::CDlgCommSetting(CWnd* pParent) : CDialog(kTemplate, pParent) {}
CDlgCommSetting::~CDlgCommSetting() = default;

CString CDlgCommSetting::GetPortName() const { return ItemText(this, kPortCombo); }
int CDlgCommSetting::GetBaudRate() const { return ItemNumber(this, kBaudCombo); }
int CDlgCommSetting::GetDataBits() const { return ItemNumber(this, kDataBitsCombo); }
int CDlgCommSetting::GetParityIndex() const { return ComboSelection(this, kParityCombo); }
CString CDlgCommSetting::GetStopBits() const { return ItemText(this, kStopBitsCombo); }
