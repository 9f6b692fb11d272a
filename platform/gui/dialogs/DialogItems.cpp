#include "DialogItems.h"

#include "platform/gui/controls/Button.h"
#include "platform/gui/window/Wnd.h"

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) { return IsWindow(hDlg) ? hDlg->GetDlgItem(nIDDlgItem) : nullptr; }

BOOL SetDlgItemText(HWND hDlg, int nIDDlgItem, LPCTSTR lpString) {
    CWnd* item = GetDlgItem(hDlg, nIDDlgItem);
    if (!item)
        return FALSE;
    item->SetWindowText(lpString ? lpString : "");
    return TRUE;
}

UINT GetDlgItemText(HWND hDlg, int nIDDlgItem, LPTSTR lpString, int cchMax) {
    CWnd* item = GetDlgItem(hDlg, nIDDlgItem);
    if (!item) {
        if (lpString && cchMax > 0)
            lpString[0] = '\0';
        return 0;
    }
    return static_cast<UINT>(item->GetWindowText(lpString, cchMax));
}

int GetDlgItemText(HWND hDlg, int nIDDlgItem, CString& rString) {
    CWnd* item = GetDlgItem(hDlg, nIDDlgItem);
    if (!item)
        rString.Empty();
    else
        item->GetWindowText(rString);
    return rString.GetLength();
}

BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
    CWnd* item = GetDlgItem(hDlg, nIDButton);
    if (!item)
        return FALSE;
    if (dynamic_cast<CButton*>(item))
        item->SendMessage(BM_SETCHECK, uCheck, 0);
    else
        CButton::SetWidgetCheck(item->GetHostWidget(), static_cast<int>(uCheck));
    return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int nIDButton) {
    CWnd* item = GetDlgItem(hDlg, nIDButton);
    if (!item)
        return BST_UNCHECKED;
    if (dynamic_cast<CButton*>(item))
        return static_cast<UINT>(item->SendMessage(BM_GETCHECK, 0, 0));
    return static_cast<UINT>(CButton::WidgetCheck(item->GetHostWidget()));
}

BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    if (!IsWindow(hDlg))
        return FALSE;
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
        CheckDlgButton(hDlg, id, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

LRESULT SendDlgItemMessage(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
    CWnd* item = GetDlgItem(hDlg, nIDDlgItem);
    return item ? item->SendMessage(Msg, wParam, lParam) : 0;
}
