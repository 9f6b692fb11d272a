#include "HeadedTableModel.h"

HeadedTableModel::HeadedTableModel(int columns) : m_columns(columns) {
    for (int column = 0; column < columns; column++)
        m_headings << QString();
}

int HeadedTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_columns; }

QVariant HeadedTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < m_columns ? QVariant(m_headings[section]) : QVariant();
    return section + 1;
}

void HeadedTableModel::TextsChanged() {
    const int rows = rowCount();
    if (rows > 0 && m_columns > 0)
        emit dataChanged(index(0, 0), index(rows - 1, m_columns - 1));
}

void HeadedTableModel::FollowRows(const std::vector<int>& newRow) {
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after << this->index(newRow[static_cast<size_t>(index.row())], index.column());
    changePersistentIndexList(before, after);
}
