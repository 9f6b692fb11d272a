#include "Dialog.h"

#include "DialogItems.h"
#include "platform/gui/controls/ControlFactory.h"
#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Font.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/frame/WinApp.h"
#include "platform/gui/window/ModalFocus.h"
#include "platform/gui/window/TopLevelFrame.h"
#include "platform/gui/window/WindowClass.h"

#include "platform/os/Gbk.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

namespace {

// The class of dialog windows: their background is the button face, as the platform paints dialogs.
LPCTSTR DialogClass() {
    static const LPCTSTR name = RegisterButtonFaceClass("#32770");
    return name;
}

ModalLoop& CurrentModalLoop() {
    static ModalLoop loop;
    return loop;
}

// Enter and Escape that no control took reach the window here, as the platform's dialog manager sees them before
// any window. A push button with the focus is the default button, so Enter presses it, in every window that holds
// controls (a form, a page); the rest of Enter and Escape belongs to a dialog of its own.
class DialogKeyFilter : public QObject {
public:
    DialogKeyFilter(QWidget* host, CDialog* dialog) : QObject(host), m_host(host), m_dialog(dialog) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        UINT vk = 0;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            vk = VK_RETURN;
        else if (key->key() == Qt::Key_Escape)
            vk = VK_ESCAPE;
        if (vk == VK_RETURN && CDialog::PressFocusedButton(m_host))
            return true;
        return vk && m_dialog && m_dialog->HandleDialogKey(vk);
    }

private:
    QWidget* m_host;
    CDialog* m_dialog;
};

std::string Gbk(const char* utf8) { return utf8 ? Utf8ToGbk(utf8).value_or(std::string("?")) : std::string(); }

} // namespace

CDialog::CDialog() : CDialog(0, nullptr) {}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {
    OnCommandId(IDOK, [this]() { OnOK(); });
    OnCommandId(IDCANCEL, [this]() { OnCancel(); });
}

CDialog::~CDialog() {
    if (m_loop)
        m_loop->exit(0);
    if (m_hWnd)
        DestroyWindow();
}

ModalLoop CDialog::SetModalLoop(ModalLoop loop) {
    ModalLoop previous = std::move(CurrentModalLoop());
    CurrentModalLoop() = std::move(loop);
    return previous;
}

void CDialog::BuildControls(const DlgTemplate& dlgTemplate, CWnd* pWnd) {
    QWidget* host = pWnd ? pWnd->GetHostWidget() : nullptr;
    if (!host)
        return;
    for (const DlgItemTemplate& item : dlgTemplate.items)
        CControlFactory::Create(item, host);
    SetDialogManager(host, true);
    // A dialog window of its own gets the whole of Enter and Escape when it is made.
    if (!host->isWindow())
        host->installEventFilter(new DialogKeyFilter(host, nullptr));
}

BOOL CDialog::CreateFromTemplate(const DlgTemplate& dlgTemplate, CWnd* pParentWnd, bool modal) {
    const bool child = (dlgTemplate.style & WS_CHILD) != 0 && !modal;
    if (child && !IsWindow(pParentWnd))
        return FALSE;
    // A top-level dialog gets Qt's own window frame and title bar; the client area is the whole widget.
    const DWORD frameBits = WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_DLGFRAME | WS_BORDER | WS_CHILD;
    const DWORD style =
        child ? ((dlgTemplate.style & ~WS_VISIBLE) | WS_CHILD) : (dlgTemplate.style & ~(frameBits | WS_VISIBLE));
    const std::string caption = Gbk(dlgTemplate.caption);
    const RECT rect{0, 0, dlgTemplate.cx, dlgTemplate.cy};
    if (!CreateEx(0, DialogClass(), caption.c_str(), style, rect, IsWindow(pParentWnd) ? pParentWnd : nullptr,
                  child ? m_nIDTemplate : 0))
        return FALSE;
    if (!child)
        SetDialogFrame(dlgTemplate.style);
    BuildControls(dlgTemplate, this);
    // A filter of an earlier run went with that run's window.
    m_keyFilter = nullptr;
    if (!child)
        InstallKeyFilter();
    return TRUE;
}

// The window manager offers what the dialog's style asks for: a dialog has a title with a close button, and no
// minimize or maximize button and no resizing frame unless its style names them.
void CDialog::SetDialogFrame(DWORD style) {
    QWidget* host = GetHostWidget();
    if (!host)
        return;
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (style & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & WS_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    if (style & WS_MAXIMIZEBOX)
        flags |= Qt::WindowMaximizeButtonHint;
    host->setWindowFlags(flags);
    CTopLevelFrame* frame = CTopLevelFrame::Of(host);
    frame->SetResizable((style & WS_THICKFRAME) != 0);
    frame->SetMinimizable((style & WS_MINIMIZEBOX) != 0);
}

void CDialog::InstallKeyFilter() {
    QWidget* host = GetHostWidget();
    if (!host || m_keyFilter)
        return;
    m_keyFilter = new DialogKeyFilter(host, this);
    host->installEventFilter(m_keyFilter);
    // An editable combo box keeps Enter and Escape to itself; the platform's goes on to the dialog.
    for (QComboBox* combo : host->findChildren<QComboBox*>())
        if (QLineEdit* edit = combo->lineEdit())
            edit->installEventFilter(m_keyFilter);
}

INT_PTR CDialog::DoModal() {
    const DlgTemplate* dlgTemplate = CResourceTable::FindDialog(m_nIDTemplate);
    if (!dlgTemplate || m_hWnd)
        return -1;
    CWnd* owner = IsWindow(m_pParentWnd) ? m_pParentWnd : AfxGetMainWnd();
    m_modal = true;
    m_ended = false;
    m_nModalResult = -1;
    if (!CreateFromTemplate(*dlgTemplate, owner, true)) {
        m_modal = false;
        return -1;
    }

    SendMessage(WM_INITDIALOG, 0, 0);
    // Declared before the dialog shows, so that it gives the keyboard back once the dialog has gone.
    CModalFocus focus(IsWindow(owner) ? owner->GetHostWidget() : nullptr);
    if (!m_ended && m_hWnd) {
        ApplyCtlColors();
        QWidget* host = GetHostWidget();
        host->setWindowModality(Qt::ApplicationModal);
        CenterWindow(IsWindow(owner) ? owner : nullptr);
        ShowWindow(SW_SHOW);
        host->activateWindow();
        if (CurrentModalLoop()) {
            ModalLoop loop = CurrentModalLoop();
            loop(*this);
        } else if (!m_ended) {
            QEventLoop loop;
            m_loop = &loop;
            loop.exec(QEventLoop::DialogExec);
            m_loop = nullptr;
        }
        if (!m_ended) {
            m_nModalResult = IDCANCEL;
            m_ended = true;
        }
    }
    const INT_PTR result = m_nModalResult;
    if (m_hWnd)
        DestroyWindow();
    m_modal = false;
    return result;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    const DlgTemplate* dlgTemplate = CResourceTable::FindDialog(nIDTemplate);
    if (!dlgTemplate || m_hWnd)
        return FALSE;
    m_nIDTemplate = nIDTemplate;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    CWnd* parent =
        IsWindow(m_pParentWnd) ? m_pParentWnd : ((dlgTemplate->style & WS_CHILD) ? nullptr : AfxGetMainWnd());
    m_modal = false;
    m_ended = false;
    if (!CreateFromTemplate(*dlgTemplate, parent, false))
        return FALSE;
    SendMessage(WM_INITDIALOG, 0, 0);
    if (!m_hWnd)
        return FALSE;
    ApplyCtlColors();
    if ((dlgTemplate->style & WS_VISIBLE) && !m_ended)
        ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CDialog::OnInitDialog() { return UpdateData(FALSE); }

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_ended = true;
    if (m_loop)
        m_loop->exit(0);
    if (m_hWnd)
        ShowWindow(SW_HIDE);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    if (!m_hWnd)
        return FALSE;
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange* /*pDX*/) {}

// The control answers first through its reflected CtlColor, as the framework's default does.
HBRUSH CDialog::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    return pWnd && pWnd != this ? pWnd->CtlColor(pDC, nCtlColor) : nullptr;
}

void CDialog::ApplyCtlColors(CWnd* pWnd) {
    QWidget* host = pWnd ? pWnd->GetHostWidget() : nullptr;
    if (!host)
        return;
    for (QLabel* label : host->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        CDC dc;
        if (!dc.CreateCompatibleDC(nullptr))
            return;
        const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
        dc.SetTextColor(text);
        CFont* initialFont = dc.GetCurrentFont();
        const HGDIOBJ initialHandle = initialFont ? initialFont->m_hObject : nullptr;
        QPointer<QLabel> guard(label);
        const auto brush = reinterpret_cast<HBRUSH>(pWnd->SendMessage(
            WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC), reinterpret_cast<LPARAM>(CWnd::FromWidget(label))));
        if (!guard || !IsWindow(pWnd))
            return;
        QPalette palette = label->palette();
        if (dc.GetTextColor() != text) {
            const COLORREF c = dc.GetTextColor();
            palette.setColor(QPalette::WindowText, QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
        }
        CFont* font = dc.GetCurrentFont();
        if (font && font->m_hObject != initialHandle) {
            LOGFONT logFont{};
            if (font->GetLogFont(&logFont))
                label->setFont(QFontFromLogFont(logFont));
        }
        LOGBRUSH logBrush{};
        if (brush && CBrush::FromHandle(brush)->GetLogBrush(&logBrush) && logBrush.lbStyle != BS_NULL) {
            palette.setColor(QPalette::Window, QColor(GetRValue(logBrush.lbColor), GetGValue(logBrush.lbColor),
                                                      GetBValue(logBrush.lbColor)));
            label->setAutoFillBackground(true);
        }
        label->setPalette(palette);
    }
}

BOOL CDialog::PressFocusedButton(QWidget* host) {
    // The control that has the focus in this window, also while its window is not the active one.
    auto* push = host ? qobject_cast<QPushButton*>(host->focusWidget()) : nullptr;
    if (!push || !host->isAncestorOf(push))
        return FALSE;
    if (push->isEnabled())
        push->click();
    return TRUE;
}

BOOL CDialog::HandleDialogKey(UINT nChar) {
    QWidget* host = GetHostWidget();
    if (!host)
        return FALSE;
    if (nChar == VK_RETURN) {
        if (PressFocusedButton(host))
            return TRUE;
        CWnd* button = GetDlgItem(static_cast<int>(m_defId));
        if (button && !button->IsWindowEnabled())
            return TRUE;
        SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(m_defId), BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return TRUE;
    }
    if (nChar == VK_ESCAPE) {
        CWnd* button = GetDlgItem(IDCANCEL);
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return TRUE;
    }
    return FALSE;
}

void CDialog::SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemText(this, nID, lpszString); }
int CDialog::GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const {
    return static_cast<int>(::GetDlgItemText(const_cast<CDialog*>(this), nID, lpStr, nMaxCount));
}
int CDialog::GetDlgItemText(int nID, CString& rString) const {
    return ::GetDlgItemText(const_cast<CDialog*>(this), nID, rString);
}
void CDialog::CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(this, nIDButton, nCheck); }
UINT CDialog::IsDlgButtonChecked(int nIDButton) const {
    return ::IsDlgButtonChecked(const_cast<CDialog*>(this), nIDButton);
}
void CDialog::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    ::CheckRadioButton(this, nIDFirstButton, nIDLastButton, nIDCheckButton);
}
LRESULT CDialog::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendDlgItemMessage(this, nID, message, wParam, lParam);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
    if (IsWindow(pWndCtrl))
        pWndCtrl->SetFocus();
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog();
    case DM_GETDEFID: return static_cast<LRESULT>(GetDefID());
    case DM_SETDEFID: m_defId = static_cast<UINT>(wParam); return TRUE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
                                                    reinterpret_cast<CWnd*>(lParam), message - WM_CTLCOLORMSGBOX));
    default: return CWnd::WindowProc(message, wParam, lParam);
    }
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE && !(GetStyle() & WS_CHILD)) {
        // The close box cancels, as the platform's dialogs turn WM_CLOSE into IDCANCEL.
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}
