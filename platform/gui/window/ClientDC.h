#pragma once

#include "platform/gui/draw/DC.h"

// Draws on a window at any time, over the whole client area: inside the window's own paint on the screen, else on
// its retained image (the window keeps one from then on), which shows what it drew when the DC ends. Without a
// window it is the screen's DC.
class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

protected:
    CWnd* m_pWnd = nullptr;
};
