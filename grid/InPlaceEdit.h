#pragma once

#include "platform/gui/controls/Edit.h"
#include "platform/os/Rect.h"
#include "platform/os/String.h"

// The control id of the editor a grid lays over a cell; its end notification comes back under this id.
constexpr UINT IDC_INPLACE_CONTROL = 8;

// A one-line editor laid over one cell. It takes the keystroke that started the edit, ends on Tab, Enter,
// Escape, focus loss and (when the keyboard started it, or with Ctrl) the navigation keys, and reports the text
// and the key that ended it to its owner with GN_ENDLABELEDIT. It deletes itself when its window goes.
class CInPlaceEdit : public CEdit {
    DECLARE_DYNAMIC(CInPlaceEdit)
public:
    // nFirstChar is VK_LBUTTON for an edit started by the mouse (or F2): the text stays, the caret at its end.
    // A typed character replaces the text. When the window cannot be made, the editor has no window.
    CInPlaceEdit(CWnd* pParent, const CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn,
                 const CString& sInitText, UINT nFirstChar);
    ~CInPlaceEdit() override;

    // Sends the end notification, then closes the window (which deletes the editor).
    void EndEdit();

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PostNcDestroy() override;
    void OnKillFocus(CWnd* pNewWnd) override;
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    UINT OnGetDlgCode() override;

private:
    // The key ends the edit: the focus goes back to the grid, whose focus change ends it.
    void EndWithKey(UINT nKey);

    int m_row;
    int m_column;
    CString m_initText;
    UINT m_lastChar = 0;
    BOOL m_exitOnArrows;
    // In the parent's client coordinates; widened while typing.
    CRect m_rect;
};
