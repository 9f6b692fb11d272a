#include "ListCtrl.h"

#include "ControlFactory.h"
#include "ListViewWidget.h"
#include "platform/gui/base/GbkString.h"
#include "platform/gui/window/WindowRecord.h"

#include <QHeaderView>
#include <QTreeWidgetItem>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

namespace {

CListViewWidget* List(const CWnd* wnd) { return dynamic_cast<CListViewWidget*>(wnd->GetHostWidget()); }

constexpr const char* kExStyle = "listExStyle";

Qt::Alignment AlignmentOf(int format) {
    switch (format & 3) {
    case LVCFMT_RIGHT: return Qt::AlignRight | Qt::AlignVCenter;
    case LVCFMT_CENTER: return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

QByteArray Bytes(LPCTSTR text) { return QByteArray(text ? text : ""); }

} // namespace

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    if (!pParentWnd || !pParentWnd->GetHostWidget())
        return FALSE;
    QWidget* widget = CControlFactory::Create(DlgItemKind::ListView, QString(), dwStyle, rect,
                                              pParentWnd->GetHostWidget(), static_cast<int>(nID));
    return SubclassWindow(widget);
}

DWORD CListCtrl::GetExtendedStyle() const {
    CListViewWidget* list = List(this);
    return list ? list->property(kExStyle).toUInt() : 0;
}

DWORD CListCtrl::SetExtendedStyle(DWORD dwNewStyle) {
    CListViewWidget* list = List(this);
    if (!list)
        return 0;
    const DWORD previous = list->property(kExStyle).toUInt();
    list->setProperty(kExStyle, static_cast<uint>(dwNewStyle));
    // Rows are always selected whole here; grid lines are drawn between the cells. Items styled by a sheet lose the
    // style's selection look, so the selected row is given the system's highlight colours again.
    list->setStyleSheet((dwNewStyle & LVS_EX_GRIDLINES)
                            ? QStringLiteral("QTreeView::item { border-right: 1px solid palette(mid); "
                                             "border-bottom: 1px solid palette(mid); } "
                                             "QTreeView::item:selected { background: palette(highlight); "
                                             "color: palette(highlighted-text); }")
                            : QString());
    return previous;
}

int CListCtrl::InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat, int nWidth, int /*nSubItem*/) {
    CListViewWidget* list = List(this);
    if (!list || nCol < 0)
        return -1;
    const int count = list->columnCount();
    const int col = nCol > count ? count : nCol;
    if (count == 0) {
        list->setColumnCount(1);
    } else {
        list->model()->insertColumn(col);
    }
    QTreeWidgetItem* header = list->headerItem();
    const std::string gbk = lpszColumnHeading ? lpszColumnHeading : "";
    header->setText(col, GbkToQString(gbk));
    header->setTextAlignment(col, AlignmentOf(nFormat));
    for (int r = 0; r < list->topLevelItemCount(); ++r)
        list->topLevelItem(r)->setTextAlignment(col, AlignmentOf(nFormat));
    if (nWidth >= 0)
        list->setColumnWidth(col, nWidth);
    return col;
}

BOOL CListCtrl::DeleteColumn(int nCol) {
    CListViewWidget* list = List(this);
    if (!list || nCol < 0 || nCol >= list->columnCount())
        return FALSE;
    return list->model()->removeColumn(nCol) ? TRUE : FALSE;
}

int CListCtrl::GetColumnWidth(int nCol) const {
    CListViewWidget* list = List(this);
    return (list && nCol >= 0 && nCol < list->columnCount()) ? list->columnWidth(nCol) : 0;
}

BOOL CListCtrl::SetColumnWidth(int nCol, int cx) {
    CListViewWidget* list = List(this);
    if (!list || nCol < 0 || nCol >= list->columnCount())
        return FALSE;
    list->setColumnWidth(nCol, cx);
    return TRUE;
}

int CListCtrl::GetItemCount() const {
    CListViewWidget* list = List(this);
    return list ? list->RowCount() : 0;
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem) {
    CListViewWidget* list = List(this);
    if (!list || nItem < 0)
        return -1;
    const int row = list->InsertRow(nItem, ShownText(lpszItem ? lpszItem : "", kMaxLabelChars), Bytes(lpszItem));
    for (int c = 0; c < list->columnCount(); ++c)
        list->topLevelItem(row)->setTextAlignment(c, Qt::Alignment(list->headerItem()->textAlignment(c)));
    return row;
}

BOOL CListCtrl::DeleteItem(int nItem) {
    CListViewWidget* list = List(this);
    return (list && list->RemoveRow(nItem)) ? TRUE : FALSE;
}

BOOL CListCtrl::DeleteAllItems() {
    CListViewWidget* list = List(this);
    if (!list)
        return FALSE;
    list->RemoveAllRows();
    return TRUE;
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText) {
    CListViewWidget* list = List(this);
    if (!list || nItem < 0 || nItem >= list->RowCount() || nSubItem < 0 || nSubItem >= list->columnCount())
        return FALSE;
    QTreeWidgetItem* item = list->topLevelItem(nItem);
    item->setText(nSubItem, ShownText(lpszText ? lpszText : "", kMaxLabelChars));
    item->setData(nSubItem, Qt::UserRole, Bytes(lpszText));
    return TRUE;
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
    CListViewWidget* list = List(this);
    if (!list || nItem < 0 || nItem >= list->RowCount() || nSubItem < 0 || nSubItem >= list->columnCount())
        return CString();
    const QVariant bytes = list->topLevelItem(nItem)->data(nSubItem, Qt::UserRole);
    return CString(bytes.toByteArray().toStdString());
}

BOOL CListCtrl::SetItemData(int nItem, LPARAM dwData) {
    CListViewWidget* list = List(this);
    if (!list || nItem < 0 || nItem >= list->RowCount())
        return FALSE;
    list->SetData(nItem, dwData);
    return TRUE;
}

LPARAM CListCtrl::GetItemData(int nItem) const {
    CListViewWidget* list = List(this);
    return list ? list->Data(nItem) : 0;
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
    CListViewWidget* list = List(this);
    if (!list || nItem < -1 || nItem >= list->RowCount())
        return FALSE;
    list->SetState(nItem, nState, nMask);
    return TRUE;
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const {
    CListViewWidget* list = List(this);
    return list ? (list->State(nItem) & nMask) : 0;
}

int CListCtrl::GetNextItem(int nItem, int nFlags) const {
    CListViewWidget* list = List(this);
    if (!list)
        return -1;
    const UINT wanted = static_cast<UINT>(nFlags) & (LVNI_FOCUSED | LVNI_SELECTED);
    for (int r = nItem < 0 ? 0 : nItem + 1; r < list->RowCount(); ++r) {
        const UINT state = list->State(r);
        const bool focused = !(wanted & LVNI_FOCUSED) || (state & LVIS_FOCUSED);
        const bool selected = !(wanted & LVNI_SELECTED) || (state & LVIS_SELECTED);
        if (focused && selected)
            return r;
    }
    return -1;
}

int CListCtrl::GetSelectedCount() const {
    CListViewWidget* list = List(this);
    if (!list)
        return 0;
    int n = 0;
    for (int r = 0; r < list->RowCount(); ++r)
        n += (list->State(r) & LVIS_SELECTED) ? 1 : 0;
    return n;
}

BOOL CListCtrl::EnsureVisible(int nItem, BOOL /*bPartialOK*/) {
    CListViewWidget* list = List(this);
    if (!list || nItem < 0 || nItem >= list->RowCount())
        return FALSE;
    list->scrollToItem(list->topLevelItem(nItem));
    return TRUE;
}
