#pragma once

#include "platform/gui/base/Handles.h"

#include "platform/os/String.h"
#include "platform/os/Types.h"

// The platform's calls on the controls of a dialog, found by control id among the dialog's own children (ids
// repeat between dialogs). Texts are GBK. A missing control makes each call do nothing (and read as empty).

HWND GetDlgItem(HWND hDlg, int nIDDlgItem);
BOOL SetDlgItemText(HWND hDlg, int nIDDlgItem, LPCTSTR lpString);
UINT GetDlgItemText(HWND hDlg, int nIDDlgItem, LPTSTR lpString, int cchMax);
BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck);
UINT IsDlgButtonChecked(HWND hDlg, int nIDButton);
// Checks nIDCheckButton and clears the other radio buttons from nIDFirstButton to nIDLastButton.
BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
LRESULT SendDlgItemMessage(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam);
// The control's text into a string; empty when there is no such control.
int GetDlgItemText(HWND hDlg, int nIDDlgItem, CString& rString);
