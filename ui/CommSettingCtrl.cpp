#include "CommSettingCtrl.h"

#include "DlgCommSetting.h"

#include "core/CommPort.h"
#include "core/WallModel.h"

int CCommSettingCtrl::Apply(CDlgCommSetting* dialog) {
    const int stopBits = StringToStopBits(dialog->GetStopBits());
    return m_owner->SaveComm(dialog->GetPortName(), dialog->GetBaudRate(), dialog->GetDataBits(), stopBits,
                             dialog->GetParityIndex());
}
