#include "ButtonXP.h"

#include "BrushDC.h"
#include "BufferDC.h"
#include "FontDC.h"
#include "Hls.h"
#include "PenDC.h"

#include "platform/gui/dialogs/Dialog.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CButtonXP, CButton)

namespace {

constexpr COLORREF kPressedText = RGB(0xF0, 0xF0, 0xF0);
constexpr int kFocusInset = 2;

} // namespace

CButtonXP::~CButtonXP() = default;

void CButtonXP::PreSubclassWindow() {
    ModifyStyle(0, BS_OWNERDRAW);
    m_tracker.Init(this, CMouseTracker::kRepaint);
    CButton::PreSubclassWindow();
}

void CButtonXP::OnMouseMove(UINT nFlags, CPoint point) {
    CButton::OnMouseMove(nFlags, point);
    m_tracker.OnMouseMove(this);
}

void CButtonXP::OnMouseLeave() { m_tracker.OnMouseLeave(this); }

void CButtonXP::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    const UINT state = lpDrawItemStruct->itemState;
    CBufferDC dc(lpDrawItemStruct->hDC);
    CFontDC font(dc.m_hDC, DEFAULT_GUI_FONT);
    CPenDC pen(dc.m_hDC, GetSysColor(COLOR_BTNSHADOW));
    CBrushDC brush(dc.m_hDC, CLR_NONE);

    COLORREF text = GetSysColor(COLOR_BTNTEXT);
    if (state & ODS_DISABLED) {
        text = GetSysColor(COLOR_GRAYTEXT);
    } else if (state & ODS_SELECTED) {
        text = kPressedText;
    } else if (m_tracker.IsHovering()) {
        text = RGB(0, 0, 0);
    }
    if ((state & (ODS_SELECTED | ODS_DISABLED)) == ODS_SELECTED) {
        pen.SetColor(GetSysColor(COLOR_HIGHLIGHT));
        brush.SetColor(HlsSysColor(COLOR_HIGHLIGHT, 50, -50));
    } else if (!(state & ODS_DISABLED) && m_tracker.IsHovering()) {
        pen.SetColor(GetSysColor(COLOR_HIGHLIGHT));
        brush.SetColor(HlsSysColor(COLOR_HIGHLIGHT, 80, -66));
    } else {
        // The focused button and the dialog's default one get the dark frame.
        bool dark = (state & ODS_FOCUS) != 0;
        if (CWnd* parent = GetParent())
            dark = dark || LOWORD(static_cast<uint32_t>(parent->SendMessage(DM_GETDEFID))) == GetDlgCtrlID();
        pen.SetColor(GetSysColor(dark ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW));
        brush.SetColor(HlsSysColor(COLOR_3DFACE, 15, 0));
    }
    CRect rect = lpDrawItemStruct->rcItem;
    dc.Rectangle(&rect);

    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(text);
    CString title;
    GetWindowText(title);
    dc.DrawText(title, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (state & ODS_FOCUS) {
        rect.DeflateRect(kFocusInset, kFocusInset);
        dc.DrawFocusRect(&rect);
    }
}
