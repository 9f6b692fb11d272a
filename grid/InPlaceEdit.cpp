#include "InPlaceEdit.h"

#include "grid/GridItem.h"

#include "platform/gui/draw/Font.h"
#include "platform/gui/window/ClientDC.h"
#include "platform/gui/window/Keys.h"
#include "platform/os/RuntimeClass.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CInPlaceEdit, CEdit)

CInPlaceEdit::CInPlaceEdit(CWnd* pParent, const CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn,
                           const CString& sInitText, UINT nFirstChar)
    : m_row(nRow), m_column(nColumn), m_initText(sInitText), m_exitOnArrows(nFirstChar != VK_LBUTTON), m_rect(rect) {
    const DWORD style = WS_BORDER | WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | dwStyle;
    if (!pParent || !Create(style, rect, pParent, nID))
        return;

    SetFont(pParent->GetFont());
    SetWindowText(sInitText);
    SetFocus();

    const int length = static_cast<int>(sInitText.GetLength());
    switch (nFirstChar) {
    case VK_LBUTTON:
    case VK_RETURN:
        SetSel(length, -1);
        SendMessage(EM_SCROLLCARET);
        return;
    case VK_BACK:
        SetSel(length, -1);
        SendMessage(EM_SCROLLCARET);
        break;
    case VK_TAB:
    case VK_SPACE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        SetSel(0, -1);
        SendMessage(EM_SCROLLCARET);
        return;
    default:
        SetSel(0, -1);
        SendMessage(EM_SCROLLCARET);
        break;
    }
    // The character that started the edit is typed into it, replacing the selected text.
    PostMessage(nFirstChar < 0x80 ? WM_CHAR : WM_IME_CHAR, nFirstChar, 0);
}

CInPlaceEdit::~CInPlaceEdit() = default;

void CInPlaceEdit::EndEdit() {
    // Closing the window takes the focus from it, which comes back here.
    static bool ending = false;
    if (ending)
        return;
    ending = true;

    CString text;
    GetWindowText(text);
    GridDispInfo dispInfo{};
    dispInfo.hdr.hwndFrom = GetSafeHwnd();
    dispInfo.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    dispInfo.hdr.code = GN_ENDLABELEDIT;
    dispInfo.item.mask = GIF_TEXT | GIF_PARAM;
    dispInfo.item.row = m_row;
    dispInfo.item.col = m_column;
    dispInfo.item.text = text;
    dispInfo.item.lParam = static_cast<LPARAM>(m_lastChar);
    CWnd* owner = GetOwner(); // else the parent
    if (IsWindow(CWnd::SafeHwndOf(owner)))
        owner->SendMessage(WM_NOTIFY, dispInfo.hdr.idFrom, reinterpret_cast<LPARAM>(&dispInfo));

    // The window may be gone already: its owner can close it while it hears of the end.
    if (IsWindow(GetSafeHwnd()))
        SendMessage(WM_CLOSE);
    ending = false;
}

BOOL CInPlaceEdit::PreTranslateMessage(MSG* pMsg) {
    // Alt+key must not reach a menu while the editor is open.
    if (pMsg->message == WM_SYSCHAR)
        return TRUE;
    return CEdit::PreTranslateMessage(pMsg);
}

void CInPlaceEdit::PostNcDestroy() {
    CEdit::PostNcDestroy();
    delete this;
}

void CInPlaceEdit::OnKillFocus(CWnd* pNewWnd) {
    CEdit::OnKillFocus(pNewWnd);
    EndEdit(); // the editor may be deleted now
}

void CInPlaceEdit::EndWithKey(UINT nKey) {
    m_lastChar = nKey;
    if (CWnd* parent = GetParent())
        parent->SetFocus();
}

void CInPlaceEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (nChar == VK_TAB || nChar == VK_RETURN) {
        EndWithKey(nChar);
        return;
    }
    if (nChar == VK_ESCAPE) {
        SetWindowText(m_initText);
        EndWithKey(nChar);
        return;
    }
    CEdit::OnChar(nChar, nRepCnt, nFlags);

    // Grow to the right as the text grows, up to the grid's right edge.
    CString text;
    GetWindowText(text);
    text += "  ";
    CClientDC dc(this);
    CFont* oldFont = dc.SelectObject(GetFont());
    const CSize size = dc.GetTextExtent(text);
    if (oldFont)
        dc.SelectObject(oldFont);
    if (size.cx > m_rect.Width()) {
        CRect parentRect;
        GetParent()->GetClientRect(&parentRect);
        m_rect.right = std::min(m_rect.left + size.cx, parentRect.right);
        MoveWindow(&m_rect);
    }
}

void CInPlaceEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    // Home and End always move the caret; the other navigation keys leave the cell unless the edit was started
    // by a click, where they move the caret too unless Ctrl is held.
    const bool navigation = nChar == VK_PRIOR || nChar == VK_NEXT || (nChar >= VK_LEFT && nChar <= VK_DOWN);
    if (navigation && (m_exitOnArrows || GetKeyState(VK_CONTROL) < 0)) {
        EndWithKey(nChar);
        return;
    }
    CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

UINT CInPlaceEdit::OnGetDlgCode() { return DLGC_WANTALLKEYS; }
