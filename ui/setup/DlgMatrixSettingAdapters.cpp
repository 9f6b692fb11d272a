// The matrix controller's operation that takes the dialog itself: it reads the dialog's fields and writes them.
#include "DlgMatrixSetting.h"
#include "ui/banner/MatrixCtrl.h"

int CMatrixCtrl::ApplySettings(CDlgMatrixSetting* dialog) { return ApplySettings(dialog->GetFields()); }
