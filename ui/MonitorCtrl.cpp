#include "MonitorCtrl.h"

#include "BannerCtrl.h"
#include "DlgMonitorCtrl.h"

#include "core/CommPort.h"
#include "core/ErrorMessage.h"
#include "core/MonitorModel.h"

int CMonitorCtrl::OpenPort() {
    CCommPortSetting* port = m_model->GetCommPort();
    port->SetSettings(m_dialog->GetPortName(), m_dialog->GetBaudRate(), m_dialog->GetDataBits(),
                      StringToStopBits(m_dialog->GetStopBits()), m_dialog->GetParityIndex());
    int result = kResultOk;
    if (!port->IsOpen()) {
        if (CBannerCtrl::OpenPortDevice(*port))
            m_model->SaveComm();
        else
            result = kResultOpenFailed;
    }
    m_dialog->EnableControls(port->IsOpen());
    return ShowErrorMessage(result, "");
}

int CMonitorCtrl::ClosePort() {
    CCommPortSetting* port = m_model->GetCommPort();
    port->Close();
    m_dialog->EnableControls(port->IsOpen());
    return kResultOk;
}

int CMonitorCtrl::SendCode(int code) {
    int first = 0;
    int last = 0;
    if (m_dialog->IsSingleAddress()) {
        first = last = m_dialog->GetSingleAddress();
    } else {
        m_dialog->GetAddressRange(&first, &last);
        if (first > last)
            return ShowErrorMessage(kResultAddressRange, "");
    }
    return ShowErrorMessage(m_model->SendMonitorCommand(code, static_cast<BYTE>(first), static_cast<BYTE>(last)), "");
}
