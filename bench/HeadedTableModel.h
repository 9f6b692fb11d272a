#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <vector>

// What the Qt peers' table models share: a fixed number of columns with headings of their own, rows numbered from
// 1, and telling the views about a change of every text or an order of the rows.
class HeadedTableModel : public QAbstractTableModel {
public:
    explicit HeadedTableModel(int columns);

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void SetHeading(int column, QString text) { m_headings[column] = std::move(text); }
    // Tells the views once that every text changed, after filling without telling them.
    void TextsChanged();

protected:
    // After the rows were put in a new order (newRow: where each row went): the indexes the views keep (the current
    // cell, the selection) follow their rows.
    void FollowRows(const std::vector<int>& newRow);

    int m_columns;

private:
    QStringList m_headings;
};
