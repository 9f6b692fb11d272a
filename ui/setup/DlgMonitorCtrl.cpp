#include "DlgMonitorCtrl.h"

#include "MonitorCtrl.h"
#include "ui/forms/ButtonSkins.h"
#include "ui/forms/DialogFields.h"

#include "core/CommPort.h"
#include "core/MonitorModel.h"
#include "platform/gui/controls/ComboBox.h"
#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Pen.h"
#include "platform/gui/window/PaintDC.h"
#include "platform/os/Gbk.h"

#include <string>

namespace {

constexpr UINT kTemplate = 159;
constexpr int kTitle = 1124;
constexpr int kSingleRadio = 1085;
constexpr int kRangeRadio = 1087;
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
constexpr int kAddressCount = 255;
// Text buttons, then the navigation buttons with their icons.
constexpr int kTextButtons[] = {1108, 1109, 1082, 1083, 1110, 1111, 1112, 1113, 1114, 1120, 1121, 1122, 1123, IDOK};
constexpr struct {
    int id;
    int icon;
} kIconButtons[] = {{1116, 136}, {1115, 133}, {1118, 135}, {1117, 137}, {1119, 143}};

constexpr struct {
    int id;
    int code;
} kCommandButtons[] = {
    {1108, CMonitorCtrl::kPowerOn},
    {1109, CMonitorCtrl::kPowerOff},
    {1110, CMonitorCtrl::kVideo1},
    // "HDMI" has no code of its own on the monitors: it sends video 1.
    {1114, CMonitorCtrl::kVideo1},
    {1111, CMonitorCtrl::kVideo2},
    {1112, CMonitorCtrl::kVga},
    {1113, CMonitorCtrl::kDvi},
    {1116, CMonitorCtrl::kUp},
    {1117, CMonitorCtrl::kDown},
    {1115, CMonitorCtrl::kLeft},
    {1118, CMonitorCtrl::kRight},
    {1119, CMonitorCtrl::kEnter},
    {1120, CMonitorCtrl::kMute},
    {1121, CMonitorCtrl::kFreeze},
    {1122, CMonitorCtrl::kPictureMode},
    {1123, CMonitorCtrl::kAspectRatio},
};

const COLORREF kTitleColour = RGB(46, 90, 69);
constexpr int kRuleY = 64;
constexpr int kRuleInset = 60;
constexpr int kRuleWidth = 4;

} // namespace

CDlgMonitorCtrl::CDlgMonitorCtrl(CWnd* pParent)
    : CDialog(kTemplate, pParent), m_model(std::make_unique<CMonitorModel>()),
      m_ctrl(std::make_unique<CMonitorCtrl>(m_model.get())) {
    m_ctrl->SetDialog(this);
    OnCommandId(kOpenButton, [this]() { OnOpen(); });
    OnCommandId(kCloseButton, [this]() { OnClose(); });
    for (const auto& button : kCommandButtons)
        OnCommandId(button.id, [this, code = button.code]() { OnCommandButton(code); });
}

// The controller goes first, then the model, whose port closes with it.
CDlgMonitorCtrl::~CDlgMonitorCtrl() = default;

BOOL CDlgMonitorCtrl::OnInitDialog() {
    CDialog::OnInitDialog();
    SkinButtons();
    FillCombos();
    SelectStoredSettings();
    SetWindowText("Monitor controller");
    EnableControls(FALSE);
    return TRUE;
}

void CDlgMonitorCtrl::OnOpen() {
    m_ctrl->OpenPort(GetSerialFields());
    EnableControls(m_model->GetCommPort()->IsOpen());
}

void CDlgMonitorCtrl::OnClose() {
    m_ctrl->ClosePortDevice();
    EnableControls(m_model->GetCommPort()->IsOpen());
}

void CDlgMonitorCtrl::OnCommandButton(int code) {
    int first = 0;
    int last = 0;
    GetAddresses(&first, &last);
    m_ctrl->SendCode(code, first, last);
}

void CDlgMonitorCtrl::SkinButtons() {
    for (int id : kTextButtons)
        SkinTextButton(this, id);
    for (const auto& entry : kIconButtons)
        SkinIconButton(this, entry.id, entry.icon);
}

void CDlgMonitorCtrl::FillCombos() {
    CComboBox* single = ComboItem(this, kSingleCombo);
    CComboBox* first = ComboItem(this, kFirstCombo);
    CComboBox* last = ComboItem(this, kLastCombo);
    CComboBox* port = ComboItem(this, kPortCombo);
    if (!single || !first || !last || !port)
        return;
    for (int n = 1; n <= kAddressCount; ++n) {
        const CString address = Number(n);
        single->AddString(address);
        first->AddString(address);
        last->AddString(address);
        CString name;
        name.Format("COM%d", n);
        port->AddString(name);
    }
    single->SetCurSel(0);
    first->SetCurSel(0);
    last->SetCurSel(1);
    CheckRadioButton(kSingleRadio, kRangeRadio, kSingleRadio);
}

// Each stored value selects the entry it begins; a value no entry begins leaves its combo unselected.
void CDlgMonitorCtrl::SelectStoredSettings() {
    std::string portName;
    int baud = 0;
    int dataBits = 0;
    int stopBits = 0;
    int parity = -1;
    if (!m_model->LoadComm(portName, baud, dataBits, stopBits, parity))
        return;
    SelectItemPrefix(this, kPortCombo, portName.c_str());
    SelectItemPrefix(this, kBaudCombo, Number(baud));
    SelectItemPrefix(this, kDataBitsCombo, Number(dataBits));
    SelectItemPrefix(this, kStopBitsCombo, StopBitsToString(stopBits).c_str());
    if (CComboBox* combo = ComboItem(this, kParityCombo))
        combo->SetCurSel(parity);
}

HBRUSH CDlgMonitorCtrl::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    if (nCtlColor == CTLCOLOR_STATIC && pWnd && pWnd->GetDlgCtrlID() == kTitle) {
        if (!m_titleFont.GetSafeHandle())
            m_titleFont.CreatePointFont(300, Utf8ToGbkLiteral("宋体").c_str());
        pDC->SelectObject(&m_titleFont);
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(kTitleColour);
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

// A rule under the title, in the title's colour.
void CDlgMonitorCtrl::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CPen pen(PS_SOLID, kRuleWidth, kTitleColour);
    CPen* old = dc.SelectObject(&pen);
    dc.MoveTo(kRuleInset, kRuleY);
    dc.LineTo(client.Width() - kRuleInset, kRuleY);
    dc.SelectObject(old);
}

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

SerialFields CDlgMonitorCtrl::GetSerialFields() const {
    return {GetPortName(), GetBaudRate(), GetDataBits(), GetStopBits(), GetParityIndex()};
}

void CDlgMonitorCtrl::GetAddresses(int* first, int* last) const {
    if (IsSingleAddress())
        *first = *last = GetSingleAddress();
    else
        GetAddressRange(first, last);
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
