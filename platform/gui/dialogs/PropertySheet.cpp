#include "PropertySheet.h"

#include "PropertyPage.h"
#include "platform/gui/base/GbkString.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/window/TopLevelFrame.h"
#include "platform/gui/window/WindowRecord.h"

#include <QEvent>
#include <QPointer>
#include <QTabWidget>

#include <algorithm>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

namespace {

constexpr const char* kPageWidget = "sheetPageWidget";

// Keeps a page as large as its tab's area, as the platform sizes every page of a sheet to the largest one: a
// smaller page's background then reaches the sheet's edges. A page never shrinks below its template.
class PageFitter : public QObject {
public:
    PageFitter(QWidget* container, QWidget* page)
        : QObject(container), m_page(page), m_templateSize(page ? page->size() : QSize()) {
        container->installEventFilter(this);
        Fit(container);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize)
            Fit(static_cast<QWidget*>(watched));
        return false;
    }

private:
    void Fit(const QWidget* container) {
        if (m_page)
            m_page->resize(m_templateSize.expandedTo(container->size()));
    }
    QPointer<QWidget> m_page;
    QSize m_templateSize;
};

} // namespace

CPropertySheet::CPropertySheet() = default;

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_strCaption(pszCaption ? pszCaption : ""), m_pParentWnd(pParentWnd), m_nStartPage(iSelectPage) {}

CPropertySheet::~CPropertySheet() {
    for (CPropertyPage* page : m_pages)
        page->m_pSheet = nullptr;
    if (m_hWnd)
        DestroyWindow();
}

QTabWidget* CPropertySheet::GetTabWidget() const { return qobject_cast<QTabWidget*>(GetHostWidget()); }

void CPropertySheet::AddPage(CPropertyPage* pPage) {
    if (!pPage || std::find(m_pages.begin(), m_pages.end(), pPage) != m_pages.end())
        return;
    m_pages.push_back(pPage);
    pPage->m_pSheet = this;
    if (GetTabWidget())
        AddTab(pPage);
}

void CPropertySheet::RemovePage(int nPage) {
    if (nPage < 0 || nPage >= GetPageCount())
        return;
    CPropertyPage* page = m_pages[static_cast<size_t>(nPage)];
    m_pages.erase(m_pages.begin() + nPage);
    page->m_pSheet = nullptr;
    if (QTabWidget* tabs = GetTabWidget()) {
        QWidget* container = tabs->widget(nPage);
        tabs->removeTab(nPage);
        if (page->m_hWnd)
            page->DestroyWindow();
        delete container;
    }
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
    return (nPage >= 0 && nPage < GetPageCount()) ? m_pages[static_cast<size_t>(nPage)] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const {
    const auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
    return it == m_pages.end() ? -1 : static_cast<int>(it - m_pages.begin());
}

int CPropertySheet::GetActiveIndex() const {
    QTabWidget* tabs = GetTabWidget();
    return tabs ? tabs->currentIndex() : static_cast<int>(m_nStartPage);
}

CPropertyPage* CPropertySheet::GetActivePage() const { return GetPage(GetActiveIndex()); }

BOOL CPropertySheet::SetActivePage(int nPage) {
    if (nPage < 0 || nPage >= GetPageCount())
        return FALSE;
    QTabWidget* tabs = GetTabWidget();
    if (!tabs) {
        m_nStartPage = static_cast<UINT>(nPage);
        return TRUE;
    }
    tabs->setCurrentIndex(nPage);
    ShowPage(nPage);
    return TRUE;
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }

void CPropertySheet::AddTab(CPropertyPage* pPage) {
    QTabWidget* tabs = GetTabWidget();
    const DlgTemplate* dlgTemplate = CResourceTable::FindDialog(pPage->GetTemplateId());
    auto* container = new QWidget;
    if (dlgTemplate)
        container->setMinimumSize(dlgTemplate->cx, dlgTemplate->cy);
    const QSignalBlocker block(tabs);
    tabs->addTab(container, GbkToQString(pPage->GetCaption().Str()));
}

void CPropertySheet::ShowPage(int nPage) {
    QTabWidget* tabs = GetTabWidget();
    CPropertyPage* page = GetPage(nPage);
    if (!tabs || !page || page->m_hWnd)
        return;
    QWidget* container = tabs->widget(nPage);
    if (!container)
        return;
    if (page->Create(page->GetTemplateId(), CWnd::FromWidget(container))) {
        new PageFitter(container, page->GetHostWidget());
        page->ShowWindow(SW_SHOW);
    }
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle) {
    if (m_hWnd)
        return FALSE;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    if (dwStyle == static_cast<DWORD>(-1))
        dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    const bool child = (dwStyle & WS_CHILD) != 0;
    QWidget* parentWidget = IsWindow(m_pParentWnd) ? m_pParentWnd->GetHostWidget() : nullptr;
    if (child && !parentWidget)
        return FALSE;

    auto* tabs = new QTabWidget(child ? parentWidget : nullptr);
    if (!child) {
        tabs->setParent(parentWidget ? parentWidget->window() : nullptr, Qt::Window);
        CTopLevelFrame::SetTitle(tabs, m_strCaption.Str());
    }
    tabs->setVisible(false);
    SetWidgetStyle(tabs, dwStyle & ~(WS_VISIBLE | WS_DISABLED));
    SetWidgetExStyle(tabs, dwExStyle);
    if (!Attach(tabs)) {
        delete tabs;
        return FALSE;
    }
    for (CPropertyPage* page : m_pages)
        AddTab(page);
    tabs->resize(tabs->minimumSizeHint());

    const int start = m_nStartPage < m_pages.size() ? static_cast<int>(m_nStartPage) : 0;
    {
        const QSignalBlocker block(tabs);
        tabs->setCurrentIndex(start);
    }
    // Each page is built when its tab first shows.
    QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [this](int index) { ShowPage(index); });
    ShowPage(start);
    if (dwStyle & WS_DISABLED)
        tabs->setEnabled(false);
    if (dwStyle & WS_VISIBLE)
        tabs->setVisible(true);
    return TRUE;
}
