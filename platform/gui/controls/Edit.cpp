#include "Edit.h"

#include "ControlFactory.h"
#include "platform/gui/base/GbkString.h"

#include <QLineEdit>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)

namespace {

QLineEdit* Line(const CWnd* wnd) { return qobject_cast<QLineEdit*>(wnd->GetHostWidget()); }

// GBK gives every character outside ASCII two bytes.
int BytesOf(QChar c) { return c.unicode() < 0x80 ? 1 : 2; }

} // namespace

int CEdit::ByteOffsetToPosition(const QString& text, int byteOffset) {
    if (byteOffset < 0)
        return static_cast<int>(text.size());
    int bytes = 0;
    qsizetype i = 0;
    while (i < text.size() && bytes < byteOffset) {
        // A surrogate pair is one character; GBK cannot hold it, so it counts as its two halves.
        bytes += BytesOf(text.at(i));
        ++i;
    }
    return static_cast<int>(i);
}

int CEdit::PositionToByteOffset(const QString& text, int position) {
    int bytes = 0;
    for (qsizetype i = 0; i < text.size() && i < position; ++i)
        bytes += BytesOf(text.at(i));
    return bytes;
}

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    if (!pParentWnd || !pParentWnd->GetHostWidget())
        return FALSE;
    QWidget* widget = CControlFactory::Create(DlgItemKind::Edit, QString(), dwStyle, rect, pParentWnd->GetHostWidget(),
                                              static_cast<int>(nID));
    return SubclassWindow(widget);
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL /*bNoScroll*/) {
    QLineEdit* edit = Line(this);
    if (!edit)
        return;
    const QString text = edit->text();
    if (nStartChar < 0) {
        edit->deselect();
        return;
    }
    const int start = ByteOffsetToPosition(text, nStartChar);
    const int end = ByteOffsetToPosition(text, nEndChar);
    // The caret goes to the end given second, as the platform places it.
    edit->setSelection(start, end - start);
    if (start == end)
        edit->setCursorPosition(start);
}

void CEdit::SetSel(DWORD dwSelection, BOOL bNoScroll) {
    SetSel(static_cast<short>(LOWORD(dwSelection)), static_cast<short>(HIWORD(dwSelection)), bNoScroll);
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
    nStartChar = nEndChar = 0;
    QLineEdit* edit = Line(this);
    if (!edit)
        return;
    const QString text = edit->text();
    if (edit->hasSelectedText()) {
        const int start = static_cast<int>(edit->selectionStart());
        nStartChar = PositionToByteOffset(text, start);
        nEndChar = PositionToByteOffset(text, start + static_cast<int>(edit->selectedText().size()));
    } else {
        nStartChar = nEndChar = PositionToByteOffset(text, edit->cursorPosition());
    }
}

DWORD CEdit::GetSel() const {
    int start = 0, end = 0;
    GetSel(start, end);
    return MAKELONG(static_cast<WORD>(start), static_cast<WORD>(end));
}

void CEdit::ReplaceSel(LPCTSTR lpszNewText, BOOL /*bCanUndo*/) {
    if (QLineEdit* edit = Line(this))
        edit->insert(GbkToQString(lpszNewText ? lpszNewText : ""));
}

BOOL CEdit::SetReadOnly(BOOL bReadOnly) {
    QLineEdit* edit = Line(this);
    if (!edit)
        return FALSE;
    edit->setReadOnly(bReadOnly != FALSE);
    ModifyStyle(bReadOnly ? 0 : ES_READONLY, bReadOnly ? ES_READONLY : 0);
    return TRUE;
}

void CEdit::LimitText(int nChars) {
    // 0 lifts the limit; Qt counts characters, the platform bytes, so the limit is the looser of the two.
    if (QLineEdit* edit = Line(this))
        edit->setMaxLength(nChars > 0 ? nChars : 32767);
}

void CEdit::Cut() {
    if (QLineEdit* edit = Line(this))
        edit->cut();
}

void CEdit::Copy() {
    if (QLineEdit* edit = Line(this))
        edit->copy();
}

void CEdit::Paste() {
    if (QLineEdit* edit = Line(this))
        edit->paste();
}

void CEdit::Clear() {
    if (QLineEdit* edit = Line(this))
        edit->del();
}

LRESULT CEdit::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case EM_SETSEL: SetSel(static_cast<int>(wParam), static_cast<int>(lParam)); return 0;
    case EM_GETSEL: {
        int start = 0, end = 0;
        GetSel(start, end);
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(start);
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(end);
        return MAKELONG(static_cast<WORD>(start), static_cast<WORD>(end));
    }
    case EM_REPLACESEL: ReplaceSel(reinterpret_cast<LPCTSTR>(lParam), static_cast<BOOL>(wParam)); return 0;
    case EM_SCROLLCARET: return TRUE; // a line edit keeps its caret in view
    case EM_LIMITTEXT: LimitText(static_cast<int>(wParam)); return 0;
    case EM_SETREADONLY: return SetReadOnly(static_cast<BOOL>(wParam));
    case WM_CUT: Cut(); return 0;
    case WM_COPY: Copy(); return 0;
    case WM_PASTE: Paste(); return 0;
    case WM_CLEAR: Clear(); return 0;
    default: return CWnd::DefWindowProc(message, wParam, lParam);
    }
}
