#pragma once

#include "platform/os/Types.h"

#include <QTreeWidget>

#include <vector>

// The widget of a report list view: a QTreeWidget without branches that keeps the platform's item states
// (selected, focused and the program's own bits) and item data, and tells its parent window of every change of
// an item's state with LVN_ITEMCHANGED, whether the operator or the program made it.
class CListViewWidget : public QTreeWidget {
public:
    CListViewWidget(QWidget* parent, DWORD style);

    int RowCount() const { return static_cast<int>(m_states.size()); }
    UINT State(int row) const;
    // row -1: every row.
    void SetState(int row, UINT state, UINT mask);
    LPARAM Data(int row) const;
    void SetData(int row, LPARAM data);

    int InsertRow(int row, const QString& text, const QByteArray& gbk);
    bool RemoveRow(int row);
    void RemoveAllRows();

    // Compares the rows' selection and focus with what was last reported and reports the differences:
    // first the rows that lost a state, then those that gained one.
    void ReportStates();

protected:
    // One operator action reports its changes once, after Qt has made them all.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    template <class Handle> void Batched(Handle handle);
    UINT QtState(int row) const;
    // The rows Qt holds selected or current, in no order, a row possibly twice.
    std::vector<int> QtMarkedRows() const;
    // Takes Qt's selection and focus of the row as what was last reported.
    void TakeQtState(int row, UINT qtState);

    std::vector<UINT> m_states;
    std::vector<LPARAM> m_data;
    bool m_settingStates = false;
};
