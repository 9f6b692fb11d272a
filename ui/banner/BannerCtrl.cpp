#include "BannerCtrl.h"

#include "core/CommPort.h"
#include "core/ErrorMessage.h"
#include "core/WallModel.h"

int CBannerCtrl::OpenPort() {
    if (!OpenPortDevice(*m_owner->GetCommPort()))
        return ShowErrorMessage(kResultOpenFailed, "");
    return kResultOk;
}

int CBannerCtrl::ClosePort() { return m_owner->GetCommPort()->Close(); }

BOOL CBannerCtrl::OpenPortDevice(CCommPortSetting& port) {
    const std::string device = "\\\\.\\" + port.m_portName;
    return port.Open(device, static_cast<DWORD>(port.m_baudRate), static_cast<BYTE>(port.m_dataBits),
                     static_cast<BYTE>(port.m_stopBits), static_cast<BYTE>(port.m_parity));
}
