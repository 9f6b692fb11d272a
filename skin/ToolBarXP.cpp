#include "ToolBarXP.h"

#include "BufferDC.h"
#include "FontDC.h"
#include "Hls.h"

#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/Icon.h"
#include "platform/gui/draw/Pen.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/frame/FrameWnd.h"
#include "platform/gui/window/Cursor.h"
#include "platform/gui/window/PaintDC.h"
#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CToolBarXP, CToolBar)

namespace {

// The arrow part of a drop-down button, and the room its arrow takes.
constexpr int kArrowPart = 13;
constexpr int kArrowRoom = 14;

void FramedRect(CDC& dc, const CRect& rect, COLORREF pen, COLORREF fill) {
    CPen framePen(PS_SOLID, 1, pen);
    CBrush brush(fill);
    CPen* oldPen = dc.SelectObject(&framePen);
    CGdiObject* oldBrush = fill == CLR_NONE ? dc.SelectStockObject(NULL_BRUSH) : dc.SelectObject(&brush);
    dc.Rectangle(&rect);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
}

void Line(CDC& dc, COLORREF colour, int x1, int y1, int x2, int y2) {
    CPen pen(PS_SOLID, 1, colour);
    CPen* old = dc.SelectObject(&pen);
    dc.MoveTo(x1, y1);
    dc.LineTo(x2, y2);
    dc.SelectObject(old);
}

} // namespace

CToolBarXP::~CToolBarXP() = default;

LRESULT CToolBarXP::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CToolBar::DefWindowProc(message, wParam, lParam);
    if (message == TB_GETBUTTON && result && m_wrapMode != kNoWrap) {
        // The layout leaves out the separators that carry controls while docked vertically, and keeps them else.
        auto* button = reinterpret_cast<TBBUTTON*>(lParam);
        if ((button->fsStyle & TBSTYLE_SEP) && button->idCommand != 0) {
            if (m_wrapMode == kWrapVertical)
                button->fsState |= TBSTATE_HIDDEN;
            else
                button->fsState &= static_cast<BYTE>(~TBSTATE_HIDDEN);
        }
    }
    return result;
}

CSize CToolBarXP::CalcDynamicLayout(int nLength, DWORD dwMode) {
    const bool vertical = (dwMode & LM_VERTDOCK) != 0;
    m_wrapMode = vertical ? kWrapVertical : kWrapHorizontal;
    const CSize size = CToolBar::CalcDynamicLayout(nLength, dwMode);
    m_wrapMode = kNoWrap;
    if (!(dwMode & LM_COMMIT))
        return size;
    const auto count = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button)))
            continue;
        if (!(button.fsStyle & TBSTYLE_SEP) || button.idCommand == 0)
            continue;
        CWnd* control = GetDlgItem(button.idCommand);
        if (!control)
            continue;
        if (vertical) {
            SendMessage(TB_HIDEBUTTON, static_cast<WPARAM>(button.idCommand), TRUE);
            control->ShowWindow(SW_HIDE);
            continue;
        }
        SendMessage(TB_HIDEBUTTON, static_cast<WPARAM>(button.idCommand), FALSE);
        CRect rect;
        SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect));
        rect.DeflateRect(1, 1);
        control->SetWindowPos(nullptr, rect.left, rect.top, 0, 0,
                              SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE | SWP_SHOWWINDOW);
        CRect current;
        control->GetWindowRect(&current);
        if (current.Width() != rect.Width())
            control->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(),
                                  SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    }
    return size;
}

BOOL CToolBarXP::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (message == WM_NOTIFY && header && header->code == TBN_DROPDOWN) {
        LRESULT result = 0;
        OnDropDown(header, &result);
        if (pResult)
            *pResult = result;
        return TRUE;
    }
    return CToolBar::OnChildNotify(message, wParam, lParam, pResult);
}

void CToolBarXP::OnDropDown(NMHDR* pNotifyStruct, LRESULT* pResult) {
    const auto* notify = reinterpret_cast<const NMTOOLBAR*>(pNotifyStruct);
    const auto id = static_cast<WORD>((-notify->iItem) & 0xFFFF);
    CWnd* frame = GetParentFrame();
    if (!frame)
        frame = GetOwner();
    const LRESULT answer = frame ? frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0) : 0;
    *pResult = answer == 0 ? TBDDRET_TREATPRESSED : TBDDRET_DEFAULT;
}

void CToolBarXP::OnPaint() {
    Layout();
    CPaintDC paintDC(this);
    CBufferDC dc(paintDC.m_hDC);
    dc.SetBkMode(TRANSPARENT);
    CFontDC font(dc.m_hDC, DEFAULT_GUI_FONT);

    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, HlsSysColor(COLOR_3DFACE, 20, 0));
    CPoint cursor;
    GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    auto images = reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETIMAGELIST));
    const auto count = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
    const auto hotItem = static_cast<int>(SendMessage(TB_GETHOTITEM));
    int cxImage = 0;
    int cyImage = 0;
    if (images)
        ImageList_GetIconSize(images, &cxImage, &cyImage);

    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button)) ||
            (button.fsState & TBSTATE_HIDDEN))
            continue;
        CRect rect;
        CRect visible;
        if (!SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect)) ||
            !visible.IntersectRect(&rect, &client))
            continue;
        const bool enabled = (button.fsState & TBSTATE_ENABLED) != 0;
        const bool checked = (button.fsState & TBSTATE_CHECKED) != 0;
        const bool indeterminate = (button.fsState & TBSTATE_INDETERMINATE) != 0;
        const bool dropDown = (button.fsStyle & TBSTYLE_DROPDOWN) != 0;
        bool hot = i == hotItem && enabled;
        bool pressed = false;

        if (indeterminate) {
            FramedRect(dc, rect, GetSysColor(COLOR_3DDKSHADOW), CLR_NONE);
            hot = true;
        } else if (hot || checked) {
            pressed = GetKeyState(VK_LBUTTON) < 0 && rect.PtInRect(cursor);
            CRect body = rect;
            if (dropDown) {
                pressed = pressed && cursor.x < rect.right - kArrowPart;
                if (pressed)
                    body.right -= kArrowPart;
            }
            COLORREF fill = HlsSysColor(COLOR_HIGHLIGHT, 80, -66);
            if (pressed || (hot && checked))
                fill = HlsSysColor(COLOR_HIGHLIGHT, 50, -50);
            else if (hot)
                fill = HlsSysColor(COLOR_HIGHLIGHT, 70, -57);
            FramedRect(dc, body, GetSysColor(COLOR_HIGHLIGHT), fill);
            if (dropDown) {
                if (!pressed)
                    Line(dc, GetSysColor(COLOR_HIGHLIGHT), rect.right - kArrowRoom, rect.top, rect.right - kArrowRoom,
                         rect.bottom);
                else
                    FramedRect(dc, CRect(body.right - 1, rect.top, body.right + kArrowPart, rect.bottom),
                               GetSysColor(COLOR_HIGHLIGHT), HlsSysColor(COLOR_HIGHLIGHT, 70, -66));
            }
        }

        if (button.fsStyle & TBSTYLE_SEP) {
            if (button.idCommand != 0)
                continue; // its control shows
            const COLORREF line = HlsSysColor(COLOR_3DFACE, -15, 0);
            if (button.fsState & TBSTATE_WRAP) {
                Line(dc, line, client.left + 2, rect.bottom - 4, client.right - 2, rect.bottom - 4);
            } else {
                const int x = (rect.left + rect.right) / 2 - 1;
                Line(dc, line, x, rect.top + 2, x, rect.bottom - 2);
            }
            continue;
        }
        if (dropDown) {
            const COLORREF arrow = (hot && !indeterminate) ? RGB(0, 0, 0)
                                   : enabled               ? GetSysColor(COLOR_BTNTEXT)
                                                           : GetSysColor(COLOR_GRAYTEXT);
            const int mid = (rect.top + rect.bottom) / 2;
            Line(dc, arrow, rect.right - 9, mid - 1, rect.right - 4, mid - 1);
            Line(dc, arrow, rect.right - 8, mid, rect.right - 5, mid);
            dc.SetPixel(rect.right - 7, mid + 1, arrow);
            rect.right -= kArrowRoom;
        }
        if (button.iBitmap < 0 || !images)
            continue;
        if (!enabled || (hot && !pressed)) {
            COLORREF shadow = HlsSysColor(COLOR_3DFACE, -27, 0);
            int offset = 3;
            if (hot && indeterminate) {
                shadow = HlsSysColor(COLOR_3DFACE, -20, 0);
                offset = 4;
            } else if (hot) {
                shadow = HlsSysColor(COLOR_HIGHLIGHT, 50, -66);
                offset = 4;
            }
            if (HICON icon = ImageList_GetIcon(images, button.iBitmap, 0)) {
                CBrush brush(shadow);
                DrawStateA(dc.m_hDC, reinterpret_cast<HBRUSH>(brush.m_hObject), nullptr, reinterpret_cast<LPARAM>(icon),
                           0, rect.left + offset, rect.top + offset, cxImage, cyImage, DST_ICON | DSS_MONO);
                DestroyIcon(icon);
            }
        }
        if (enabled) {
            const int offset = (hot && !pressed) ? 2 : 3;
            ImageList_Draw(images, button.iBitmap, dc.m_hDC, rect.left + offset, rect.top + offset, ILD_TRANSPARENT);
        }
    }
}
