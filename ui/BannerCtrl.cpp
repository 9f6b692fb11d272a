#include "BannerCtrl.h"

#include "CtrlBanner.h"

#include "core/CommPort.h"
#include "core/ErrorMessage.h"
#include "core/WallModel.h"

int CBannerCtrl::OpenPort(CCtrlBanner* banner) {
    if (!OpenPortDevice(*m_owner->GetCommPort()))
        return ShowErrorMessage(kResultOpenFailed, "");
    banner->EnableButtons(TRUE);
    return kResultOk;
}

int CBannerCtrl::ClosePort(CCtrlBanner* banner) {
    const int result = m_owner->GetCommPort()->Close();
    if (result) // the port's close answers TRUE once it is closed
        banner->EnableButtons(FALSE);
    return result;
}

BOOL CBannerCtrl::OpenPortDevice(CCommPortSetting& port) {
    const std::string device = "\\\\.\\" + port.m_portName;
    return port.Open(device, static_cast<DWORD>(port.m_baudRate), static_cast<BYTE>(port.m_dataBits),
                     static_cast<BYTE>(port.m_stopBits), static_cast<BYTE>(port.m_parity));
}
