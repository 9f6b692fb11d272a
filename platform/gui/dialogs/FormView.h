#pragma once

#include "DataExchange.h"
#include "Dialog.h"
#include "platform/gui/draw/Gdi.h"
#include "platform/gui/frame/View.h"

// A view whose window holds the controls of a dialog template, like a modeless child dialog inside a frame.
// Data exchange runs in OnInitialUpdate; control notifications reach the handlers mapped in the constructor.
class CFormView : public CView {
    DECLARE_DYNAMIC(CFormView)
public:
    explicit CFormView(UINT nIDTemplate);
    ~CFormView() override;

    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, void* pContext = nullptr) override;

    void OnInitialUpdate() override;
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);
    // The frame shrinks (or grows, unless bShrinkOnly) so that the view shows the whole template.
    void ResizeParentToFit(BOOL bShrinkOnly = TRUE);
    // As a dialog's: called for every static control after the initial update.
    virtual HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    void SetDlgItemText(int nID, LPCTSTR lpszString);
    int GetDlgItemText(int nID, CString& rString) const;
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;

    UINT GetTemplateId() const { return m_nIDTemplate; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // A view smaller than its template scrolls over it: the bars show when needed and the controls move.
    void OnSize(UINT nType, int cx, int cy) override;
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    // The top-left of the template that shows at the view's top-left.
    CPoint GetScrollPosition() const { return m_scrollPos; }

protected:
    UINT m_nIDTemplate;

private:
    void UpdateBars();
    void OnScroll(int nBar, UINT nSBCode);
    void ScrollToPosition(CPoint pos);

    CPoint m_scrollPos;
    CSize m_totalSize;
    bool m_updatingBars = false;
};
