#include "DlgMonitorCtrl.h"

#include "DialogFields.h"

namespace {

constexpr UINT kTemplate = 159;
constexpr int kSingleRadio = 1085;
constexpr int kSingleCombo = 1105;
constexpr int kFirstCombo = 1031;
constexpr int kLastCombo = 1032;
constexpr int kPortCombo = 1075;
constexpr int kBaudCombo = 1088;
constexpr int kStopBitsCombo = 1076;
constexpr int kDataBitsCombo = 1023;
constexpr int kParityCombo = 1090;
constexpr int kOpenButton = 1082;
constexpr int kCloseButton = 1083;
constexpr int kFirstCommandButton = 1108;
constexpr int kLastCommandButton = 1123;

} // namespace

CDlgMonitorCtrl::CDlgMonitorCtrl(CWnd* pParent) : CDialog(kTemplate, pParent) {}
CDlgMonitorCtrl::~CDlgMonitorCtrl() = default;

CString CDlgMonitorCtrl::GetPortName() const { return ItemText(this, kPortCombo); }
int CDlgMonitorCtrl::GetBaudRate() const { return ItemNumber(this, kBaudCombo); }
int CDlgMonitorCtrl::GetDataBits() const { return ItemNumber(this, kDataBitsCombo); }
CString CDlgMonitorCtrl::GetStopBits() const { return ItemText(this, kStopBitsCombo); }
int CDlgMonitorCtrl::GetParityIndex() const { return ComboSelection(this, kParityCombo); }
BOOL CDlgMonitorCtrl::IsSingleAddress() const { return IsItemChecked(this, kSingleRadio) ? TRUE : FALSE; }
int CDlgMonitorCtrl::GetSingleAddress() const { return ItemNumber(this, kSingleCombo); }

void CDlgMonitorCtrl::GetAddressRange(int* first, int* last) const {
    *first = ItemNumber(this, kFirstCombo);
    *last = ItemNumber(this, kLastCombo);
}

void CDlgMonitorCtrl::EnableControls(BOOL portOpen) {
    const bool open = portOpen != FALSE;
    EnableItem(this, kOpenButton, !open);
    for (int id : {kPortCombo, kBaudCombo, kDataBitsCombo, kStopBitsCombo, kParityCombo})
        EnableItem(this, id, !open);
    EnableItem(this, kCloseButton, open);
    for (int id = kFirstCommandButton; id <= kLastCommandButton; ++id)
        EnableItem(this, id, open);
}
