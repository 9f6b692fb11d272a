#pragma once

#include "platform/gui/window/Wnd.h"

// Combo-box styles, results and notifications with the platform's values.
constexpr DWORD CBS_SIMPLE = 0x0001;
constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_AUTOHSCROLL = 0x0040;
constexpr DWORD CBS_SORT = 0x0100;
constexpr DWORD CBS_HASSTRINGS = 0x0200;
constexpr DWORD CBS_NOINTEGRALHEIGHT = 0x0400;

constexpr int CB_OKAY = 0;
constexpr int CB_ERR = -1;
constexpr int CB_ERRSPACE = -2;

constexpr UINT CBN_SELCHANGE = 1;
constexpr UINT CBN_DBLCLK = 2;
constexpr UINT CBN_SETFOCUS = 3;
constexpr UINT CBN_KILLFOCUS = 4;
constexpr UINT CBN_EDITCHANGE = 5;
constexpr UINT CBN_EDITUPDATE = 6;

// A drop-down list (CBS_DROPDOWNLIST) or an editable drop-down (CBS_DROPDOWN) over a QComboBox. Entries keep
// their GBK bytes. CBS_SORT is not supported: entries stay in the order they were added or inserted. Searches ignore
// case and wrap around from the entry after the start. Only the operator's choice from the list (the mouse, or the
// arrow keys in the list or in the closed box) changes the selection and sends CBN_SELCHANGE; a selection set by the
// program sends nothing. Typing in an editable box never changes the selection, even when the text typed is an
// entry's: it sends CBN_EDITUPDATE and CBN_EDITCHANGE.
class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    CComboBox() = default;

    using CWnd::Create;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetCount() const;
    int AddString(LPCTSTR lpszString);
    // -1 appends.
    int InsertString(int nIndex, LPCTSTR lpszString);
    // The entries left, or CB_ERR.
    int DeleteString(UINT nIndex);
    void ResetContent();

    int GetCurSel() const;
    // -1 clears the selection (and returns CB_ERR, as the platform does).
    int SetCurSel(int nSelect);
    int GetLBText(int nIndex, LPTSTR lpszText) const;
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const;

    // The first entry after nStartAfter (-1: from the top) that begins with the text, or CB_ERR.
    int FindString(int nStartAfter, LPCTSTR lpszString) const;
    // The first entry that equals the text, ignoring case, or CB_ERR.
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
    // Selects what FindString finds; the selection stays when nothing matches.
    int SelectString(int nStartAfter, LPCTSTR lpszString);
};
