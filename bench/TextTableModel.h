#pragma once

#include "HeadedTableModel.h"

#include <QString>
#include <QVector>

// What a Qt programmer writes to show a large table of texts in a QTableView: the texts as QStrings, a row at a
// time, headings of its own, and sorting, insertion and removal of rows.
class TextTableModel : public HeadedTableModel {
public:
    TextTableModel(int rows, int columns);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    // Sets a text without telling the views, for filling; TextsChanged tells them once afterwards.
    void SetText(int row, int column, QString text) { m_rows[row][column] = std::move(text); }

private:
    QVector<QVector<QString>> m_rows;
};
