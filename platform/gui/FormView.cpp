#include "FormView.h"

#include "DC.h"
#include "Dialog.h"
#include "DialogItems.h"
#include "FrameWnd.h"
#include "ResourceTable.h"

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CFormView, CView)

CFormView::CFormView(UINT nIDTemplate) : m_nIDTemplate(nIDTemplate) {}

CFormView::~CFormView() = default;

BOOL CFormView::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       UINT nID, void* pContext) {
    const DlgTemplate* dlgTemplate = CResourceTable::FindDialog(m_nIDTemplate);
    if (!dlgTemplate)
        return FALSE;
    if (!CView::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext))
        return FALSE;
    CDialog::BuildControls(*dlgTemplate, this);
    return TRUE;
}

void CFormView::OnInitialUpdate() {
    UpdateData(FALSE);
    CDialog::ApplyCtlColors(this);
    CView::OnInitialUpdate();
}

BOOL CFormView::UpdateData(BOOL bSaveAndValidate) {
    if (!m_hWnd)
        return FALSE;
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CFormView::DoDataExchange(CDataExchange* /*pDX*/) {}

void CFormView::ResizeParentToFit(BOOL bShrinkOnly) {
    const DlgTemplate* dlgTemplate = CResourceTable::FindDialog(m_nIDTemplate);
    CFrameWnd* frame = GetParentFrame();
    if (!dlgTemplate || !frame)
        return;
    CRect frameRect, viewClient;
    frame->GetWindowRect(&frameRect);
    GetClientRect(&viewClient);
    int width = frameRect.Width() - viewClient.Width() + dlgTemplate->cx;
    int height = frameRect.Height() - viewClient.Height() + dlgTemplate->cy;
    if (bShrinkOnly) {
        width = std::min<int>(width, frameRect.Width());
        height = std::min<int>(height, frameRect.Height());
    }
    frame->SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The control answers first through its reflected CtlColor, as the framework's default does.
HBRUSH CFormView::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    return pWnd && pWnd != this ? pWnd->CtlColor(pDC, nCtlColor) : nullptr;
}

void CFormView::SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemText(this, nID, lpszString); }
int CFormView::GetDlgItemText(int nID, CString& rString) const {
    return ::GetDlgItemText(const_cast<CFormView*>(this), nID, rString);
}
void CFormView::CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(this, nIDButton, nCheck); }
UINT CFormView::IsDlgButtonChecked(int nIDButton) const {
    return ::IsDlgButtonChecked(const_cast<CFormView*>(this), nIDButton);
}

LRESULT CFormView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return reinterpret_cast<LRESULT>(OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
                                                    reinterpret_cast<CWnd*>(lParam), message - WM_CTLCOLORMSGBOX));
    return CView::WindowProc(message, wParam, lParam);
}
