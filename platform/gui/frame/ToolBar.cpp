#include "ToolBar.h"

#include "ResourceTable.h"
#include "platform/gui/draw/Bitmap.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Icon.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/window/PaintDC.h"
#include "platform/gui/window/WindowClass.h"

#include <algorithm>
#include <cstring>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

namespace {

LPCTSTR ToolBarClass() {
    static const LPCTSTR name = RegisterButtonFaceClass("ToolbarWindow32");
    return name;
}

constexpr COLORREF kTransparentGrey = RGB(192, 192, 192);
constexpr int kArrowPart = 13;

bool IsSeparator(const TBBUTTON& button) { return (button.fsStyle & TBSTYLE_SEP) != 0; }

} // namespace

CToolBar::CToolBar() = default;
CToolBar::~CToolBar() = default;

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateBar(dwStyle, pParentWnd, nID, ToolBarClass());
}

BOOL CToolBar::LoadToolBar(UINT nIDResource) {
    const ToolBarTemplate* table = CResourceTable::FindToolBar(nIDResource);
    if (!table || table->cx <= 0 || table->cy <= 0)
        return FALSE;
    CBitmap strip;
    if (!strip.Attach(static_cast<HGDIOBJ>(LoadImage(nIDResource, IMAGE_BITMAP, 0, 0, 0))))
        return FALSE;
    CImageList images;
    if (!images.Create(table->cx, table->cy, ILC_COLOR24 | ILC_MASK, 0, 4) || images.Add(&strip, kTransparentGrey) < 0)
        return FALSE;
    if (!SetButtons(table->items.data(), static_cast<int>(table->items.size())))
        return FALSE;
    m_imageList.DeleteImageList();
    m_imageList.Attach(images.Detach());
    SetSizes(CSize(table->cx + 7, table->cy + 7), CSize(table->cx, table->cy));
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
    if (nIDCount < 0 || (nIDCount > 0 && !lpIDArray))
        return FALSE;
    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (int i = 0; i < nIDCount; ++i) {
        TBBUTTON button{};
        button.idCommand = static_cast<int>(lpIDArray[i]);
        button.fsState = TBSTATE_ENABLED;
        if (lpIDArray[i] == ID_SEPARATOR)
            button.fsStyle = TBSTYLE_SEP;
        else
            button.iBitmap = image++;
        buttons.push_back(button);
    }
    m_buttons = std::move(buttons);
    m_hotItem = m_pressedItem = -1;
    Rearrange();
    return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
    if (sizeButton.cx <= 0 || sizeButton.cy <= 0 || sizeImage.cx <= 0 || sizeImage.cy <= 0)
        return;
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    Rearrange();
}

int CToolBar::CommandToIndex(UINT nIDFind) const {
    for (int i = 0; i < GetCount(); ++i)
        if (static_cast<UINT>(m_buttons[static_cast<size_t>(i)].idCommand) == nIDFind)
            return i;
    return -1;
}

UINT CToolBar::GetItemID(int nIndex) const {
    return (nIndex >= 0 && nIndex < GetCount()) ? static_cast<UINT>(m_buttons[static_cast<size_t>(nIndex)].idCommand)
                                                : ID_SEPARATOR;
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    if (!lpRect)
        return;
    *lpRect = RECT{0, 0, 0, 0};
    if (nIndex >= 0 && nIndex < GetCount() && !(m_buttons[static_cast<size_t>(nIndex)].fsState & TBSTATE_HIDDEN))
        *lpRect = m_rects[static_cast<size_t>(nIndex)];
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const {
    if (nIndex < 0 || nIndex >= GetCount()) {
        nID = nStyle = 0;
        iImage = 0;
        return;
    }
    const TBBUTTON& button = m_buttons[static_cast<size_t>(nIndex)];
    nID = static_cast<UINT>(button.idCommand);
    nStyle = button.fsStyle;
    iImage = button.iBitmap;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage) {
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    TBBUTTON& button = m_buttons[static_cast<size_t>(nIndex)];
    button.idCommand = static_cast<int>(nID);
    button.fsStyle = static_cast<BYTE>(nStyle);
    button.iBitmap = iImage;
    Rearrange();
}

CSize CToolBar::Arrange(std::vector<TBBUTTON>& buttons, bool vertical, std::vector<CRect>& rects) const {
    rects.assign(buttons.size(), CRect(0, 0, 0, 0));
    int x = kBorder;
    int y = kBorder;
    int widest = m_sizeButton.cx;
    for (size_t i = 0; i < buttons.size(); ++i) {
        TBBUTTON& button = buttons[i];
        button.fsState =
            static_cast<BYTE>(vertical ? (button.fsState | TBSTATE_WRAP) : (button.fsState & ~TBSTATE_WRAP));
        if (button.fsState & TBSTATE_HIDDEN)
            continue;
        int width = m_sizeButton.cx + ((button.fsStyle & TBSTYLE_DROPDOWN) ? kDropDownWidth : 0);
        if (IsSeparator(button))
            width = button.iBitmap > 0 ? button.iBitmap : kSeparatorWidth;
        if (vertical) {
            // A separator becomes a horizontal gap between two rows.
            const int height = IsSeparator(button) ? kSeparatorWidth : m_sizeButton.cy;
            rects[i] = CRect(x, y, x + (IsSeparator(button) ? 0 : width), y + height);
            if (!IsSeparator(button))
                widest = std::max(widest, width);
            y += height;
        } else {
            rects[i] = CRect(x, y, x + width, y + m_sizeButton.cy);
            x += width;
        }
    }
    if (!vertical)
        return CSize(x + kBorder, m_sizeButton.cy + 2 * kBorder);
    for (size_t i = 0; i < buttons.size(); ++i)
        if (IsSeparator(buttons[i]) && !(buttons[i].fsState & TBSTATE_HIDDEN))
            rects[i].right = rects[i].left + widest;
    return CSize(widest + 2 * kBorder, y + kBorder);
}

void CToolBar::Rearrange() {
    std::vector<TBBUTTON> buttons = m_buttons;
    Arrange(buttons, m_vertical, m_rects);
    m_bDelayedButtonLayout = TRUE;
    if (m_hWnd)
        Invalidate();
}

CSize CToolBar::CalcDynamicLayout(int /*nLength*/, DWORD dwMode) {
    const bool vertical = (dwMode & LM_VERTDOCK) != 0;
    // Read through the window procedure, so that a derived bar may change what the layout sees.
    const int count = std::max(0, static_cast<int>(SendMessage(TB_BUTTONCOUNT)));
    std::vector<TBBUTTON> buttons(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&buttons[static_cast<size_t>(i)])))
            buttons[static_cast<size_t>(i)].fsState |= TBSTATE_HIDDEN;
    std::vector<CRect> rects;
    CSize size = Arrange(buttons, vertical, rects);
    if ((dwMode & LM_COMMIT) && buttons.size() == m_buttons.size()) {
        m_vertical = vertical;
        m_rects = std::move(rects);
        for (size_t i = 0; i < m_buttons.size(); ++i)
            m_buttons[i].fsState =
                static_cast<BYTE>((m_buttons[i].fsState & ~TBSTATE_WRAP) | (buttons[i].fsState & TBSTATE_WRAP));
        m_bDelayedButtonLayout = FALSE;
        if (m_hWnd)
            Invalidate();
    }
    if (dwMode & LM_STRETCH) {
        if (vertical)
            size.cy = 32767;
        else
            size.cx = 32767;
    }
    return size;
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    DWORD mode = LM_COMMIT | (bHorz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK);
    if (bStretch)
        mode |= LM_STRETCH;
    return CalcDynamicLayout(-1, mode);
}

void CToolBar::Layout() {
    if (m_bDelayedButtonLayout)
        CalcDynamicLayout(-1, LM_COMMIT | (m_vertical ? LM_VERTDOCK : (LM_HORZ | LM_HORZDOCK)));
}

int CToolBar::HitButton(CPoint point) const {
    for (int i = 0; i < GetCount(); ++i) {
        const TBBUTTON& button = m_buttons[static_cast<size_t>(i)];
        if (!(button.fsState & TBSTATE_HIDDEN) && !IsSeparator(button) &&
            m_rects[static_cast<size_t>(i)].PtInRect(point))
            return i;
    }
    return -1;
}

void CToolBar::InvalidateButton(int index) {
    if (index >= 0 && index < GetCount())
        InvalidateRect(&m_rects[static_cast<size_t>(index)]);
}

void CToolBar::OnMouseMove(UINT /*nFlags*/, CPoint point) {
    int hot = HitButton(point);
    if (hot >= 0 && !(m_buttons[static_cast<size_t>(hot)].fsState & TBSTATE_ENABLED))
        hot = -1;
    if (hot != m_hotItem) {
        InvalidateButton(m_hotItem);
        m_hotItem = hot;
        InvalidateButton(m_hotItem);
        if (hot >= 0) {
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, this, 0};
            TrackMouseEvent(&track);
        }
    }
    if (m_pressedItem >= 0) {
        // A held button looks pressed only while the cursor is over it.
        TBBUTTON& button = m_buttons[static_cast<size_t>(m_pressedItem)];
        const BYTE state = m_rects[static_cast<size_t>(m_pressedItem)].PtInRect(point)
                               ? static_cast<BYTE>(button.fsState | TBSTATE_PRESSED)
                               : static_cast<BYTE>(button.fsState & ~TBSTATE_PRESSED);
        if (state != button.fsState) {
            button.fsState = state;
            InvalidateButton(m_pressedItem);
        }
    }
}

void CToolBar::OnMouseLeave() {
    if (m_hotItem >= 0 && m_pressedItem < 0) {
        InvalidateButton(m_hotItem);
        m_hotItem = -1;
    }
}

void CToolBar::OnLButtonDown(UINT /*nFlags*/, CPoint point) {
    const int index = HitButton(point);
    if (index < 0 || !(m_buttons[static_cast<size_t>(index)].fsState & TBSTATE_ENABLED))
        return;
    const TBBUTTON button = m_buttons[static_cast<size_t>(index)];
    const CRect rect = m_rects[static_cast<size_t>(index)];
    if ((button.fsStyle & TBSTYLE_DROPDOWN) && point.x >= rect.right - kArrowPart) {
        NMTOOLBAR nm{};
        nm.hdr = NMHDR{this, static_cast<UINT_PTR>(GetDlgCtrlID()), TBN_DROPDOWN};
        nm.iItem = button.idCommand;
        nm.tbButton = button;
        nm.rcButton = rect;
        CWnd* parent = GetParent();
        const LRESULT result =
            parent ? parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&nm))
                   : TBDDRET_DEFAULT;
        if (result != TBDDRET_TREATPRESSED || !IsWindow(this) || index >= GetCount())
            return;
    }
    m_pressedItem = index;
    m_buttons[static_cast<size_t>(index)].fsState |= TBSTATE_PRESSED;
    InvalidateButton(index);
    SetCapture();
}

void CToolBar::OnLButtonDblClk(UINT nFlags, CPoint point) { OnLButtonDown(nFlags, point); }

void CToolBar::OnLButtonUp(UINT /*nFlags*/, CPoint point) {
    const int index = m_pressedItem;
    if (index < 0)
        return;
    m_pressedItem = -1;
    if (GetCapture() == this)
        ReleaseCapture();
    if (index >= GetCount())
        return;
    TBBUTTON& button = m_buttons[static_cast<size_t>(index)];
    button.fsState &= static_cast<BYTE>(~TBSTATE_PRESSED);
    InvalidateButton(index);
    if (!m_rects[static_cast<size_t>(index)].PtInRect(point))
        return;
    if (button.fsStyle & TBSTYLE_CHECK)
        button.fsState ^= TBSTATE_CHECKED;
    const WORD id = static_cast<WORD>(button.idCommand);
    if (CWnd* owner = GetOwner())
        owner->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(this));
}

void CToolBar::OnCaptureChanged(CWnd* pWnd) {
    if (pWnd != this && m_pressedItem >= 0) {
        if (m_pressedItem < GetCount())
            m_buttons[static_cast<size_t>(m_pressedItem)].fsState &= static_cast<BYTE>(~TBSTATE_PRESSED);
        InvalidateButton(m_pressedItem);
        m_pressedItem = -1;
    }
    CControlBar::OnCaptureChanged(pWnd);
}

void CToolBar::PaintButtons() {
    Layout();
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    for (int i = 0; i < GetCount(); ++i) {
        const TBBUTTON& button = m_buttons[static_cast<size_t>(i)];
        CRect rect = m_rects[static_cast<size_t>(i)];
        if (button.fsState & TBSTATE_HIDDEN)
            continue;
        if (IsSeparator(button)) {
            if (button.idCommand != 0)
                continue; // the control placed on it shows instead
            if (m_vertical) {
                const int y = rect.top + rect.Height() / 2 - 1;
                dc.Draw3dRect(rect.left, y, rect.Width(), 2, GetSysColor(COLOR_BTNSHADOW),
                              GetSysColor(COLOR_BTNHIGHLIGHT));
            } else {
                const int x = rect.left + rect.Width() / 2 - 1;
                dc.Draw3dRect(x, rect.top, 2, rect.Height(), GetSysColor(COLOR_BTNSHADOW),
                              GetSysColor(COLOR_BTNHIGHLIGHT));
            }
            continue;
        }
        const bool enabled = (button.fsState & TBSTATE_ENABLED) != 0;
        const bool down = (button.fsState & (TBSTATE_PRESSED | TBSTATE_CHECKED)) != 0;
        if (down)
            dc.Draw3dRect(&rect, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        else if (i == m_hotItem && enabled)
            dc.Draw3dRect(&rect, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
        if (button.fsStyle & TBSTYLE_DROPDOWN) {
            const int mid = (rect.top + rect.bottom) / 2;
            const COLORREF arrow = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
            for (int row = 0; row < 3; ++row)
                dc.FillSolidRect(rect.right - 9 + row, mid - 1 + row, 5 - 2 * row, 1, arrow);
            rect.right -= kDropDownWidth;
        }
        if (button.iBitmap < 0 || button.iBitmap >= m_imageList.GetImageCount())
            continue;
        const int shift = down ? 1 : 0;
        const CPoint at(rect.left + (rect.Width() - m_sizeImage.cx) / 2 + shift,
                        rect.top + (rect.Height() - m_sizeImage.cy) / 2 + shift);
        if (enabled) {
            m_imageList.Draw(&dc, button.iBitmap, at, ILD_TRANSPARENT);
        } else if (HICON icon = m_imageList.ExtractIcon(button.iBitmap)) {
            dc.DrawState(at, m_sizeImage, icon, DST_ICON | DSS_DISABLED, static_cast<HBRUSH>(nullptr));
            DestroyIcon(icon);
        }
    }
}

LRESULT CToolBar::GetButtonInfoMessage(WPARAM wParam, TBBUTTONINFO* info) const {
    if (!info || info->cbSize != sizeof(TBBUTTONINFO))
        return -1;
    const int index =
        (info->dwMask & TBIF_BYINDEX) ? static_cast<int>(wParam) : CommandToIndex(static_cast<UINT>(wParam));
    if (index < 0 || index >= GetCount())
        return -1;
    const TBBUTTON& button = m_buttons[static_cast<size_t>(index)];
    if (info->dwMask & TBIF_COMMAND)
        info->idCommand = button.idCommand;
    if (info->dwMask & TBIF_IMAGE)
        info->iImage = button.iBitmap;
    if (info->dwMask & TBIF_STATE)
        info->fsState = button.fsState;
    if (info->dwMask & TBIF_STYLE)
        info->fsStyle = button.fsStyle;
    if (info->dwMask & TBIF_LPARAM)
        info->lParam = button.dwData;
    if (info->dwMask & TBIF_SIZE)
        info->cx = static_cast<WORD>(m_rects[static_cast<size_t>(index)].Width());
    if ((info->dwMask & TBIF_TEXT) && info->pszText && info->cchText > 0)
        info->pszText[0] = '\0'; // buttons carry no text
    return index;
}

LRESULT CToolBar::SetButtonInfoMessage(WPARAM wParam, const TBBUTTONINFO* info) {
    if (!info || info->cbSize != sizeof(TBBUTTONINFO))
        return FALSE;
    const int index =
        (info->dwMask & TBIF_BYINDEX) ? static_cast<int>(wParam) : CommandToIndex(static_cast<UINT>(wParam));
    if (index < 0 || index >= GetCount())
        return FALSE;
    TBBUTTON& button = m_buttons[static_cast<size_t>(index)];
    if (info->dwMask & TBIF_COMMAND)
        button.idCommand = info->idCommand;
    if (info->dwMask & TBIF_IMAGE)
        button.iBitmap = info->iImage;
    if (info->dwMask & TBIF_STATE)
        button.fsState = info->fsState;
    if (info->dwMask & TBIF_STYLE)
        button.fsStyle = info->fsStyle;
    if (info->dwMask & TBIF_LPARAM)
        button.dwData = info->lParam;
    if ((info->dwMask & TBIF_SIZE) && IsSeparator(button))
        button.iBitmap = info->cx;
    Rearrange();
    return TRUE;
}

LRESULT CToolBar::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const int count = GetCount();
    switch (message) {
    case WM_PAINT: PaintButtons(); return 0;
    case TB_BUTTONCOUNT: return count;
    case TB_GETBUTTON: {
        auto* out = reinterpret_cast<TBBUTTON*>(lParam);
        const int index = static_cast<int>(wParam);
        if (!out || index < 0 || index >= count)
            return FALSE;
        *out = m_buttons[static_cast<size_t>(index)];
        return TRUE;
    }
    case TB_GETITEMRECT: {
        auto* out = reinterpret_cast<RECT*>(lParam);
        const int index = static_cast<int>(wParam);
        if (!out || index < 0 || index >= count || (m_buttons[static_cast<size_t>(index)].fsState & TBSTATE_HIDDEN))
            return FALSE;
        *out = m_rects[static_cast<size_t>(index)];
        return TRUE;
    }
    case TB_HIDEBUTTON:
    case TB_SETSTATE: {
        const int index = CommandToIndex(static_cast<UINT>(wParam));
        if (index < 0)
            return FALSE;
        TBBUTTON& button = m_buttons[static_cast<size_t>(index)];
        const BYTE old = button.fsState;
        if (message == TB_SETSTATE)
            button.fsState = static_cast<BYTE>(LOWORD(static_cast<uint32_t>(lParam)));
        else if (LOWORD(static_cast<uint32_t>(lParam)))
            button.fsState |= TBSTATE_HIDDEN;
        else
            button.fsState &= static_cast<BYTE>(~TBSTATE_HIDDEN);
        if ((old ^ button.fsState) & TBSTATE_HIDDEN)
            Rearrange();
        else if (old != button.fsState)
            InvalidateButton(index);
        return TRUE;
    }
    case TB_GETSTATE: {
        const int index = CommandToIndex(static_cast<UINT>(wParam));
        return index < 0 ? -1 : m_buttons[static_cast<size_t>(index)].fsState;
    }
    case TB_COMMANDTOINDEX: return CommandToIndex(static_cast<UINT>(wParam));
    case TB_GETIMAGELIST: return reinterpret_cast<LRESULT>(m_imageList.GetSafeHandle());
    case TB_GETHOTITEM: return m_hotItem;
    case TB_GETBUTTONINFO: return GetButtonInfoMessage(wParam, reinterpret_cast<TBBUTTONINFO*>(lParam));
    case TB_SETBUTTONINFO: return SetButtonInfoMessage(wParam, reinterpret_cast<const TBBUTTONINFO*>(lParam));
    default: return CControlBar::DefWindowProc(message, wParam, lParam);
    }
}
