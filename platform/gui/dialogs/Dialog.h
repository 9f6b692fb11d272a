#pragma once

#include "DataExchange.h"
#include "platform/gui/controls/Button.h"
#include "platform/gui/controls/ComboBox.h"
#include "platform/gui/controls/Edit.h"
#include "platform/gui/controls/ListCtrl.h"
#include "platform/gui/controls/Static.h"
#include "platform/gui/draw/Gdi.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/window/CmdTarget.h"
#include "platform/gui/window/Wnd.h"

#include "platform/os/MessageBox.h"

#include <functional>

class CDialog;
class QEventLoop;
class QWidget;

constexpr UINT CTLCOLOR_MSGBOX = 0;
constexpr UINT CTLCOLOR_EDIT = 1;
constexpr UINT CTLCOLOR_LISTBOX = 2;
constexpr UINT CTLCOLOR_BTN = 3;
constexpr UINT CTLCOLOR_DLG = 4;
constexpr UINT CTLCOLOR_SCROLLBAR = 5;
constexpr UINT CTLCOLOR_STATIC = 6;

constexpr DWORD DS_MODALFRAME = 0x80;
constexpr DWORD DS_CENTER = 0x0800;
constexpr UINT DM_GETDEFID = WM_USER + 0;
constexpr UINT DM_SETDEFID = WM_USER + 1;
constexpr WORD DC_HASDEFID = 0x534B;

// Runs a modal dialog once it is shown, until it ends. The program runs an event loop; tests install a loop
// that operates the dialog and returns. A dialog the loop leaves open ends as cancelled.
using ModalLoop = std::function<void(CDialog& dialog)>;

// A dialog built from its template table: a window holding the template's controls (each carrying its id,
// found per dialog), run modally through DoModal or created as a child (a property page, a form). Control
// notifications reach the handlers mapped in the dialog's constructor (OnCommandId, OnControl,
// OnNotifyCode); IDOK runs OnOK and IDCANCEL OnCancel unless a derived class maps them otherwise.
// Enter sends the default button's command (IDOK unless DM_SETDEFID chose another), a focused push
// button's when one has the focus (in pages and forms too); Escape and the close box send IDCANCEL.
class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // IDOK, IDCANCEL or what EndDialog was given; -1 when the dialog could not be made (no template).
    virtual INT_PTR DoModal();
    // A modeless dialog: a child of the parent when the template has WS_CHILD, else a window it owns.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // Ends a modal dialog once its handler returns, also from inside OnInitDialog (the dialog is then never
    // shown); hides a modeless one.
    void EndDialog(int nResult);

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // Called for every static control when the dialog has been initialised (and by ApplyCtlColors): the font
    // selected into the DC and its text colour become the static's; a brush other than the null brush fills
    // its background. The base passes the question to the control (CtlColor), whose default answers null.
    virtual HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void ApplyCtlColors() { ApplyCtlColors(this); }
    // Asks a window that holds controls (WM_CTLCOLORSTATIC) for the colours of each of its statics.
    static void ApplyCtlColors(CWnd* pWnd);

    void SetDlgItemText(int nID, LPCTSTR lpszString);
    int GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const;
    int GetDlgItemText(int nID, CString& rString) const;
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void SetDefID(UINT nID) { m_defId = nID; }
    DWORD GetDefID() const { return MAKELONG(static_cast<WORD>(m_defId), DC_HASDEFID); }

    UINT GetTemplateId() const { return m_nIDTemplate; }
    BOOL IsModal() const { return m_modal ? TRUE : FALSE; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Installs a modal loop (an empty one restores the event loop) and returns the previous one.
    static ModalLoop SetModalLoop(ModalLoop loop);

    // Builds the template's controls in a window's client area; the other window types that hold controls
    // (form views) share it.
    static void BuildControls(const DlgTemplate& dlgTemplate, CWnd* pWnd);
    // Handles Enter and Escape for a window that holds controls; TRUE when the key was used.
    BOOL HandleDialogKey(UINT nChar);
    // Enter on a push button that has the focus in a window that holds controls presses it; TRUE when one has.
    static BOOL PressFocusedButton(QWidget* host);

protected:
    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

private:
    BOOL CreateFromTemplate(const DlgTemplate& dlgTemplate, CWnd* pParentWnd, bool modal);
    void InstallKeyFilter();
    void SetDialogFrame(DWORD style);

    UINT m_defId = IDOK;
    INT_PTR m_nModalResult = -1;
    bool m_modal = false;
    bool m_ended = false;
    QEventLoop* m_loop = nullptr;
    QObject* m_keyFilter = nullptr;
};
