#pragma once

#include "platform/gui/draw/DC.h"

// Paints a window's retained image inside OnPaint, clipped to the rectangle being painted; shows what it
// drew when it ends.
class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;

    struct PAINTSTRUCT {
        HDC hdc;
        BOOL fErase;
        RECT rcPaint;
    };
    PAINTSTRUCT m_ps{};

protected:
    CWnd* m_pWnd = nullptr;
};
