#include "TextTableModel.h"

#include <algorithm>
#include <numeric>
#include <vector>

TextTableModel::TextTableModel(int rows, int columns)
    : HeadedTableModel(columns), m_rows(rows, QVector<QString>(columns)) {}

int TextTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return m_rows[index.row()][index.column()];
}

void TextTableModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= m_columns)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> order_(static_cast<size_t>(m_rows.size()));
    std::iota(order_.begin(), order_.end(), 0);
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
        return order == Qt::AscendingOrder ? m_rows[a][column] < m_rows[b][column]
                                           : m_rows[b][column] < m_rows[a][column];
    });
    QVector<QVector<QString>> sorted;
    sorted.reserve(m_rows.size());
    std::vector<int> newRow(order_.size());
    for (size_t i = 0; i < order_.size(); i++) {
        sorted.push_back(std::move(m_rows[order_[i]]));
        newRow[static_cast<size_t>(order_[i])] = static_cast<int>(i);
    }
    m_rows = std::move(sorted);
    FollowRows(newRow);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

bool TextTableModel::insertRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || row > m_rows.size() || count < 1)
        return false;
    beginInsertRows(parent, row, row + count - 1);
    m_rows.insert(row, count, QVector<QString>(m_columns));
    endInsertRows();
    return true;
}

bool TextTableModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count < 1 || row + count > m_rows.size())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    m_rows.remove(row, count);
    endRemoveRows();
    return true;
}
