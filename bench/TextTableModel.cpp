#include "TextTableModel.h"

#include <algorithm>
#include <numeric>
#include <vector>

TextTableModel::TextTableModel(int rows, int columns)
    : m_columns(columns), m_rows(rows, QVector<QString>(columns)), m_headings() {
    for (int column = 0; column < columns; column++)
        m_headings << QString();
}

int TextTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TextTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_columns; }

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return m_rows[index.row()][index.column()];
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < m_columns ? QVariant(m_headings[section]) : QVariant();
    return section + 1;
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
    // The indexes views keep (the current cell, the selection) follow their rows.
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after << this->index(newRow[static_cast<size_t>(index.row())], index.column());
    changePersistentIndexList(before, after);
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

void TextTableModel::TextsChanged() {
    if (!m_rows.isEmpty() && m_columns > 0)
        emit dataChanged(index(0, 0), index(static_cast<int>(m_rows.size()) - 1, m_columns - 1));
}
