#pragma once

#include "platform/os/Types.h"

class CWnd;

// Data exchange between a dialog's controls and its members, as far as the program uses it: binding a control
// object to its control.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Attaches the control object to the dialog's control of that id (once; later exchanges leave it).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
