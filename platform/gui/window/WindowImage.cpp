#include "WindowImage.h"

#include "Wnd.h"

std::function<QImage*()> WindowImageSource(CWnd* wnd) {
    return [wnd]() -> QImage* { return IsWindow(wnd) ? wnd->GetClientImage() : nullptr; };
}
