// The monitor controller's operations that read the dialog it was given: each takes the dialog's settings or
// addresses and calls the form that takes values; the dialog's controls then follow the port.
#include "DlgMonitorCtrl.h"
#include "MonitorCtrl.h"

#include "core/CommPort.h"
#include "core/MonitorModel.h"

int CMonitorCtrl::OpenPort() {
    const int result = OpenPort(m_dialog->GetSerialFields());
    m_dialog->EnableControls(m_model->GetCommPort()->IsOpen());
    return result;
}

int CMonitorCtrl::ClosePort() {
    const int result = ClosePortDevice();
    m_dialog->EnableControls(m_model->GetCommPort()->IsOpen());
    return result;
}

int CMonitorCtrl::SendCode(int code) {
    int first = 0;
    int last = 0;
    m_dialog->GetAddresses(&first, &last);
    return SendCode(code, first, last);
}
