#include "CommSettingCtrl.h"

#include "core/CommPort.h"
#include "core/WallModel.h"

int CCommSettingCtrl::Apply(const SerialFields& port) {
    return m_owner->SaveComm(port.portName, port.baudRate, port.dataBits, StringToStopBits(port.stopBits), port.parity);
}
