#pragma once

#include "platform/gui/draw/DC.h"

// The window's DC. The non-client frame is the widget's own, so this draws on the client area like CClientDC;
// without a window it is the screen's DC.
class CWindowDC : public CDC {
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;

protected:
    CWnd* m_pWnd = nullptr;
};
