#include "DlgCommSetting.h"

#include "CommSettingCtrl.h"
#include "ui/forms/DialogFields.h"

#include "core/CommPort.h"
#include "core/WallModel.h"

namespace {

constexpr UINT kTemplate = 131;
constexpr int kPortCombo = 1028;
constexpr int kBaudCombo = 1024;
constexpr int kDataBitsCombo = 1025;
constexpr int kParityCombo = 1026;
constexpr int kStopBitsCombo = 1027;

} // namespace

// The controller stores settings and sends to no units: it is handed no wall view.
CDlgCommSetting::CDlgCommSetting(CWnd* pParent)
    : CDialog(kTemplate, pParent), m_ctrl(std::make_unique<CCommSettingCtrl>(CWallModel::GetInstance(), nullptr)) {}

CDlgCommSetting::~CDlgCommSetting() = default;

void CDlgCommSetting::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kPortCombo, m_portCombo);
    DDX_Control(pDX, kBaudCombo, m_baudCombo);
    DDX_Control(pDX, kDataBitsCombo, m_dataBitsCombo);
    DDX_Control(pDX, kStopBitsCombo, m_stopBitsCombo);
    DDX_Control(pDX, kParityCombo, m_parityCombo);
}

BOOL CDlgCommSetting::OnInitDialog() {
    CDialog::OnInitDialog();
    const CCommPortSetting* port = CWallModel::GetInstance()->GetCommPort();
    // Settings changed under an open port would not be the ones it runs with.
    if (port->IsOpen()) {
        AfxMessageBox("please close the serial port first.", MB_OK);
        EndDialog(IDCANCEL);
        return TRUE;
    }
    m_portCombo.SelectString(-1, port->m_portName.c_str());
    m_baudCombo.SelectString(-1, Number(port->m_baudRate));
    m_dataBitsCombo.SelectString(-1, Number(port->m_dataBits));
    m_parityCombo.SetCurSel(port->m_parity);
    m_stopBitsCombo.SelectString(-1, StopBitsToString(port->m_stopBits).c_str());
    return TRUE;
}

// Stores and closes; a save the settings file refused has been reported by the core already.
void CDlgCommSetting::OnOK() {
    m_ctrl->Apply(GetSerialFields());
    EndDialog(IDOK);
}

CString CDlgCommSetting::GetPortName() const { return ItemText(this, kPortCombo); }
int CDlgCommSetting::GetBaudRate() const { return ItemNumber(this, kBaudCombo); }
int CDlgCommSetting::GetDataBits() const { return ItemNumber(this, kDataBitsCombo); }
int CDlgCommSetting::GetParityIndex() const { return ComboSelection(this, kParityCombo); }
CString CDlgCommSetting::GetStopBits() const { return ItemText(this, kStopBitsCombo); }

SerialFields CDlgCommSetting::GetSerialFields() const {
    return {GetPortName(), GetBaudRate(), GetDataBits(), GetStopBits(), GetParityIndex()};
}
