#pragma once

#include "platform/gui/draw/DC.h"

// Paints a window inside OnPaint, clipped to the region being painted: straight on the screen, or on the retained
// image while the window keeps one, which shows what it drew when the DC ends.
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
