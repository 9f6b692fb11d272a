#pragma once

#include "platform/gui/draw/DC.h"

// Draws on a window's retained image at any time, over the whole client area; shows what it drew when it
// ends. Without a window it is the screen's DC.
class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

protected:
    CWnd* m_pWnd = nullptr;
};
