// The matrix controller's operation that takes the page itself: it reads the page's choice and the input of the
// channel button, and switches it.
#include "MatrixCtrl.h"
#include "PageMatrix.h"

int CMatrixCtrl::SwitchChannel(CPageMatrix* page, int button) {
    return SwitchChannel(page->GetMatrixName(), page->GetWordName(), page->IsIncrease(),
                         page->GetAbsoluteIndex(button));
}
