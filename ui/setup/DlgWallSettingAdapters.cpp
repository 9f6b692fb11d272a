// The wall controller's operations that take the dialog itself: each reads the dialog's fields and calls the form
// that takes values.
#include "DlgWallSetting.h"
#include "LcdWallCtrl.h"

#include "core/ErrorMessage.h"

int CLcdWallCtrl::ApplyOutputMap(CDlgWallSetting* dialog) { return ApplyOutputMap(dialog->GetOutputMap()); }

int CLcdWallCtrl::SetResolution(CDlgWallSetting* dialog) { return SetResolution(dialog->GetResolutionIndex()); }

int CLcdWallCtrl::SetRowCol(CDlgWallSetting* dialog) {
    if (SetRowCol(dialog->GetRows(), dialog->GetCols()) == kResultOk)
        dialog->FillOutputMap();
    return kResultOk;
}
