// The banner controller's operations that take the banner itself: they open or close the wall port and set the
// banner's buttons to match.
#include "BannerCtrl.h"
#include "CtrlBanner.h"

#include "core/ErrorMessage.h"

int CBannerCtrl::OpenPort(CCtrlBanner* banner) {
    const int result = OpenPort();
    if (result == kResultOk)
        banner->EnableButtons(TRUE);
    return result;
}

int CBannerCtrl::ClosePort(CCtrlBanner* banner) {
    const int result = ClosePort();
    if (result) // the port's close answers TRUE once it is closed
        banner->EnableButtons(FALSE);
    return result;
}
