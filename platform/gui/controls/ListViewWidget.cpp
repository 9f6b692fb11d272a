#include "ListViewWidget.h"

#include "ListCtrl.h"
#include "platform/gui/window/WindowRecord.h"
#include "platform/gui/window/Wnd.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPointer>

CListViewWidget::CListViewWidget(QWidget* parent, DWORD style) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    setColumnCount(0);
    setHeaderHidden((style & LVS_NOCOLUMNHEADER) != 0);
    header()->setSectionsClickable(!(style & LVS_NOSORTHEADER));
    header()->setStretchLastSection(false);
    setSelectionMode((style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                             : QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);

    auto report = [this]() {
        if (!m_settingStates)
            ReportStates();
    };
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, report);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, report);
}

template <class Handle> void CListViewWidget::Batched(Handle handle) {
    QPointer<CListViewWidget> self(this);
    const bool outer = !m_settingStates;
    m_settingStates = true;
    handle();
    if (!self)
        return;
    if (outer) {
        m_settingStates = false;
        ReportStates();
    }
}

void CListViewWidget::mousePressEvent(QMouseEvent* event) {
    Batched([&]() { QTreeWidget::mousePressEvent(event); });
}

void CListViewWidget::mouseReleaseEvent(QMouseEvent* event) {
    Batched([&]() { QTreeWidget::mouseReleaseEvent(event); });
}

void CListViewWidget::mouseMoveEvent(QMouseEvent* event) {
    Batched([&]() { QTreeWidget::mouseMoveEvent(event); });
}

void CListViewWidget::keyPressEvent(QKeyEvent* event) {
    Batched([&]() { QTreeWidget::keyPressEvent(event); });
}

UINT CListViewWidget::QtState(int row) const {
    UINT state = 0;
    const QModelIndex index = model()->index(row, 0);
    if (selectionModel()->isSelected(index))
        state |= LVIS_SELECTED;
    if (selectionModel()->currentIndex().isValid() && selectionModel()->currentIndex().row() == row)
        state |= LVIS_FOCUSED;
    return state;
}

std::vector<int> CListViewWidget::QtMarkedRows() const {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int r = range.top(); r <= range.bottom(); ++r)
            rows.push_back(r);
    if (selectionModel()->currentIndex().isValid())
        rows.push_back(selectionModel()->currentIndex().row());
    return rows;
}

void CListViewWidget::TakeQtState(int row, UINT qtState) {
    if (row < 0 || row >= RowCount())
        return;
    UINT& kept = m_states[static_cast<size_t>(row)];
    kept = (kept & ~(LVIS_SELECTED | LVIS_FOCUSED)) | qtState;
}

UINT CListViewWidget::State(int row) const {
    if (row < 0 || row >= RowCount())
        return 0;
    return (m_states[static_cast<size_t>(row)] & ~(LVIS_SELECTED | LVIS_FOCUSED)) | QtState(row);
}

LPARAM CListViewWidget::Data(int row) const {
    return (row >= 0 && row < RowCount()) ? m_data[static_cast<size_t>(row)] : 0;
}

void CListViewWidget::SetData(int row, LPARAM data) {
    if (row >= 0 && row < RowCount())
        m_data[static_cast<size_t>(row)] = data;
}

void CListViewWidget::SetState(int row, UINT state, UINT mask) {
    const int first = row < 0 ? 0 : row;
    const int last = row < 0 ? RowCount() - 1 : row;
    if (row >= RowCount())
        return;
    m_settingStates = true;
    for (int r = first; r <= last; ++r) {
        const QModelIndex index = model()->index(r, 0);
        if (mask & LVIS_SELECTED) {
            const auto flags = QItemSelectionModel::Rows |
                               ((state & LVIS_SELECTED) ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
            // A single-selection list keeps one selected row.
            if ((state & LVIS_SELECTED) && selectionMode() == QAbstractItemView::SingleSelection)
                selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            else
                selectionModel()->select(index, flags);
        }
        if (mask & LVIS_FOCUSED) {
            if (state & LVIS_FOCUSED)
                selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
            else if (selectionModel()->currentIndex().row() == r)
                selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        }
        const UINT own = mask & ~(LVIS_SELECTED | LVIS_FOCUSED);
        UINT& kept = m_states[static_cast<size_t>(r)];
        const UINT before = kept;
        kept = (kept & ~own) | (state & own);
        // Bits the program keeps itself are reported here; selection and focus by ReportStates.
        if (kept != before) {
            CWnd* parent = CWnd::FromWidget(parentWidget());
            NMLISTVIEW nm{{CWnd::FromWidget(this), static_cast<UINT_PTR>(WidgetCtrlId(this)), LVN_ITEMCHANGED},
                          r,
                          0,
                          State(r),
                          (before & ~(LVIS_SELECTED | LVIS_FOCUSED)) | QtState(r),
                          LVIF_STATE,
                          {0, 0},
                          Data(r)};
            if (parent)
                parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(WidgetCtrlId(this)), reinterpret_cast<LPARAM>(&nm));
        }
    }
    m_settingStates = false;
    ReportStates();
}

int CListViewWidget::InsertRow(int row, const QString& text, const QByteArray& gbk) {
    if (row < 0 || row > RowCount())
        row = RowCount();
    m_settingStates = true;
    auto* item = new QTreeWidgetItem;
    item->setText(0, text);
    item->setData(0, Qt::UserRole, gbk);
    if (columnCount() > 0)
        item->setTextAlignment(0, Qt::Alignment(headerItem()->textAlignment(0)));
    const std::vector<int> before = QtMarkedRows();
    insertTopLevelItem(row, item);
    m_states.insert(m_states.begin() + row, 0);
    m_data.insert(m_data.begin() + row, 0);
    // What Qt reports for the new row is its own doing, not a state change of the platform's list. Only rows Qt
    // marks, before or after, can have changed: looking at every row would make filling a list quadratic.
    std::vector<int> rows = QtMarkedRows();
    for (int r : before)
        rows.push_back(r >= row ? r + 1 : r);
    for (int r : rows)
        TakeQtState(r, r == row ? 0 : QtState(r));
    m_settingStates = false;
    return row;
}

bool CListViewWidget::RemoveRow(int row) {
    if (row < 0 || row >= RowCount())
        return false;
    m_settingStates = true;
    const std::vector<int> before = QtMarkedRows();
    delete takeTopLevelItem(row);
    m_states.erase(m_states.begin() + row);
    m_data.erase(m_data.begin() + row);
    // Where Qt moves the focus after a removal is its own doing, as on insertion.
    std::vector<int> rows = QtMarkedRows();
    for (int r : before)
        if (r != row)
            rows.push_back(r > row ? r - 1 : r);
    for (int r : rows)
        TakeQtState(r, QtState(r));
    m_settingStates = false;
    return true;
}

void CListViewWidget::RemoveAllRows() {
    m_settingStates = true;
    clear();
    m_states.clear();
    m_data.clear();
    m_settingStates = false;
}

void CListViewWidget::ReportStates() {
    struct Change {
        int row;
        UINT oldState;
        UINT newState;
    };
    std::vector<Change> lost, gained;
    for (int r = 0; r < RowCount(); ++r) {
        const UINT kept = m_states[static_cast<size_t>(r)];
        const UINT now = (kept & ~(LVIS_SELECTED | LVIS_FOCUSED)) | QtState(r);
        if (now == kept)
            continue;
        m_states[static_cast<size_t>(r)] = now;
        ((now & ~kept) ? gained : lost).push_back({r, kept, now});
    }
    lost.insert(lost.end(), gained.begin(), gained.end());

    QPointer<CListViewWidget> self(this);
    for (const Change& c : lost) {
        // A handler may change the list; rows that went away are not reported.
        if (!self || c.row >= RowCount())
            return;
        CWnd* parent = CWnd::FromWidget(parentWidget());
        if (!parent)
            return;
        NMLISTVIEW nm{{CWnd::FromWidget(this), static_cast<UINT_PTR>(WidgetCtrlId(this)), LVN_ITEMCHANGED},
                      c.row,
                      0,
                      c.newState,
                      c.oldState,
                      LVIF_STATE,
                      {0, 0},
                      Data(c.row)};
        parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(WidgetCtrlId(this)), reinterpret_cast<LPARAM>(&nm));
    }
}
