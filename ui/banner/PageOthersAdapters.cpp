// The frame controller's operation that takes the page itself: it reads the check box, switches the effect and
// has the page show the state that was stored.
#include "FrameCtrl.h"
#include "PageOthers.h"

int CFrameCtrl::EnableFrameEffect(CPageOthers* page) {
    return EnableFrameEffect(page->IsFrameEnabled(), [page] { page->ShowFrameState(); });
}
