#pragma once

#include "platform/gui/dialogs/FormView.h"
#include "platform/gui/draw/Bitmap.h"

#include <memory>
#include <vector>

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
    // A part of the view with the picture stretched to the view's size, as a paint of that part shows it.
    struct LogoPart {
        CRect rect;
        std::unique_ptr<CBitmap> bitmap;
    };
    // The parts beside, above and below the wall view, made once for each size of the view and place of the wall.
    void MakeLogoParts(CDC* pDC, const CRect& client, const CRect& covered);
    // The whole picture stretched to the view's client area, drawn on a DC whose origin is at offset in the view.
    void StretchLogo(CDC* pDC, const CRect& client, CPoint offset);

    CBitmap m_logo;
    std::vector<LogoPart> m_logoParts;
    // The size and wall place the view last painted at; the parts are made when it paints there again.
    CRect m_partsClient;
    CRect m_partsCovered;
};

// The background without a picture.
constexpr COLORREF kViewBackground = RGB(156, 182, 226);
