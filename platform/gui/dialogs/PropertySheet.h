#pragma once

#include "platform/gui/window/Wnd.h"

#include <vector>

class CPropertyPage;
class QTabWidget;

// A property sheet over a QTabWidget: one tab per page in the order added, with the page's caption as its
// text. A page's window is built the first time its tab is shown (the first page when the sheet is made).
// Disabling the sheet disables every page and its tabs.
class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet();
    explicit CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CPropertySheet() override;

    void AddPage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);

    // A child of the parent with WS_CHILD in the style, else a window of its own; (DWORD)-1 takes that
    // window's style. The sheet is as large as its largest page plus its tabs.
    BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1), DWORD dwExStyle = 0);
    QTabWidget* GetTabWidget() const;

private:
    void AddTab(CPropertyPage* pPage);
    void ShowPage(int nPage);

    std::vector<CPropertyPage*> m_pages;
    CString m_strCaption;
    CWnd* m_pParentWnd = nullptr;
    UINT m_nStartPage = 0;
};
