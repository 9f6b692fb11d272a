#pragma once

#include "platform/gui/dialogs/FormView.h"
#include "platform/gui/draw/Bitmap.h"

class LcdGridCtrl;

// The main window's upper pane: the wall view in the middle three fifths, in front of the background picture
// (bmp_logo.bmp beside the program, stretched), or light blue without one.
class CVeltranoView : public CFormView {
    DECLARE_DYNCREATE(CVeltranoView)
public:
    // Builds the wall view and publishes it for the controllers; this is also the wall model's first use.
    CVeltranoView();
    ~CVeltranoView() override;

    void DoDataExchange(CDataExchange* pDX) override;
    void OnInitialUpdate() override;
    void OnSize(UINT nType, int cx, int cy) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void LoadLogo();

    BOOL HasLogo() const { return m_logo.GetSafeHandle() ? TRUE : FALSE; }

private:
    CBitmap m_logo;
};

// The background without a picture.
constexpr COLORREF kViewBackground = RGB(156, 182, 226);
