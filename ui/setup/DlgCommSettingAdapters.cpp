// The serial controller's operation that takes the dialog itself: it reads the fields and stores them.
#include "CommSettingCtrl.h"
#include "DlgCommSetting.h"

int CCommSettingCtrl::Apply(CDlgCommSetting* dialog) { return Apply(dialog->GetSerialFields()); }
