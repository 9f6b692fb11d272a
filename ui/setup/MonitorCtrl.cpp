#include "MonitorCtrl.h"

#include "ui/banner/BannerCtrl.h"

#include "core/CommPort.h"
#include "core/ErrorMessage.h"
#include "core/MonitorModel.h"

int CMonitorCtrl::OpenPort(const SerialFields& settings) {
    CCommPortSetting* port = m_model->GetCommPort();
    port->SetSettings(settings.portName, settings.baudRate, settings.dataBits, StringToStopBits(settings.stopBits),
                      settings.parity);
    int result = kResultOk;
    if (!port->IsOpen()) {
        if (CBannerCtrl::OpenPortDevice(*port))
            m_model->SaveComm();
        else
            result = kResultOpenFailed;
    }
    return ShowErrorMessage(result, "");
}

int CMonitorCtrl::ClosePortDevice() {
    m_model->GetCommPort()->Close();
    return kResultOk;
}

int CMonitorCtrl::SendCode(int code, int first, int last) {
    if (first > last)
        return ShowErrorMessage(kResultAddressRange, "");
    return ShowErrorMessage(m_model->SendMonitorCommand(code, static_cast<BYTE>(first), static_cast<BYTE>(last)), "");
}
