#include "CompactTableModel.h"

#include <algorithm>
#include <cstring>
#include <numeric>

CompactTableModel::CompactTableModel(int rows, int columns)
    : HeadedTableModel(columns), m_bytes(1, '\0'),
      m_offsets(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns), 0),
      m_rows(static_cast<std::size_t>(rows)) {
    std::iota(m_rows.begin(), m_rows.end(), 0);
}

int CompactTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant CompactTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    return QString::fromLatin1(Text(m_rows[static_cast<std::size_t>(index.row())], index.column()));
}

void CompactTableModel::StartFilling(std::size_t bytes) {
    m_bytes.clear();
    m_bytes.reserve(bytes + 1);
    m_bytes.push_back('\0');
    std::fill(m_offsets.begin(), m_offsets.end(), 0);
    m_unused = 0;
}

void CompactTableModel::SetText(int row, int column, std::string_view text) {
    std::uint32_t& offset = m_offsets[static_cast<std::size_t>(m_rows[static_cast<std::size_t>(row)]) *
                                          static_cast<std::size_t>(m_columns) +
                                      static_cast<std::size_t>(column)];
    if (offset != 0)
        m_unused += std::strlen(&m_bytes[offset]) + 1;
    offset = static_cast<std::uint32_t>(m_bytes.size());
    m_bytes.insert(m_bytes.end(), text.begin(), text.end());
    m_bytes.push_back('\0');
    if (m_unused > m_bytes.size() / 2)
        Compact();
}

void CompactTableModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= m_columns)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> byText(m_rows.size());
    std::iota(byText.begin(), byText.end(), 0);
    std::stable_sort(byText.begin(), byText.end(), [&](int a, int b) {
        const char* ta = Text(m_rows[static_cast<std::size_t>(a)], column);
        const char* tb = Text(m_rows[static_cast<std::size_t>(b)], column);
        return order == Qt::AscendingOrder ? std::strcmp(ta, tb) < 0 : std::strcmp(tb, ta) < 0;
    });
    std::vector<int> sorted(m_rows.size());
    std::vector<int> newRow(m_rows.size());
    for (std::size_t i = 0; i < byText.size(); i++) {
        sorted[i] = m_rows[static_cast<std::size_t>(byText[i])];
        newRow[static_cast<std::size_t>(byText[i])] = static_cast<int>(i);
    }
    m_rows = std::move(sorted);
    FollowRows(newRow);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

bool CompactTableModel::insertRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || row > static_cast<int>(m_rows.size()) || count < 1)
        return false;
    beginInsertRows(parent, row, row + count - 1);
    const int first = static_cast<int>(m_offsets.size() / static_cast<std::size_t>(std::max(1, m_columns)));
    m_offsets.resize(m_offsets.size() + static_cast<std::size_t>(count) * static_cast<std::size_t>(m_columns), 0);
    std::vector<int> added(static_cast<std::size_t>(count));
    std::iota(added.begin(), added.end(), first);
    m_rows.insert(m_rows.begin() + row, added.begin(), added.end());
    endInsertRows();
    return true;
}

bool CompactTableModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count < 1 || row + count > static_cast<int>(m_rows.size()))
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    for (int r = row; r < row + count; r++)
        for (int column = 0; column < m_columns; column++)
            if (const char* text = Text(m_rows[static_cast<std::size_t>(r)], column); *text)
                m_unused += std::strlen(text) + 1;
    m_rows.erase(m_rows.begin() + row, m_rows.begin() + row + count);
    endRemoveRows();
    // Stored rows no view row leads to are dropped with the texts.
    if (m_offsets.size() > 2 * m_rows.size() * static_cast<std::size_t>(m_columns) || m_unused > m_bytes.size() / 2)
        Compact();
    return true;
}

void CompactTableModel::Compact() {
    std::vector<char> bytes(1, '\0');
    bytes.reserve(m_bytes.size() - m_unused);
    std::vector<std::uint32_t> offsets(m_rows.size() * static_cast<std::size_t>(m_columns), 0);
    for (std::size_t r = 0; r < m_rows.size(); r++)
        for (int column = 0; column < m_columns; column++) {
            const char* text = Text(m_rows[r], column);
            if (!*text)
                continue;
            offsets[r * static_cast<std::size_t>(m_columns) + static_cast<std::size_t>(column)] =
                static_cast<std::uint32_t>(bytes.size());
            bytes.insert(bytes.end(), text, text + std::strlen(text) + 1);
        }
    m_bytes = std::move(bytes);
    m_offsets = std::move(offsets);
    std::iota(m_rows.begin(), m_rows.end(), 0);
    m_unused = 0;
}
