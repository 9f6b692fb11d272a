#pragma once

#include "HeadedTableModel.h"

#include <cstdint>
#include <string_view>
#include <vector>

// What a Qt programmer writes for a table of a hundred thousand rows of texts: every text in one byte buffer, each
// ended by a zero, and an offset per cell into it; the view's rows lead to the stored rows through one index, so
// that sorting, inserting and removing rows move integers, not texts. A text set anew goes to the end of the
// buffer, and the buffer is made compact again once half of it is texts no cell shows.
class CompactTableModel : public HeadedTableModel {
public:
    CompactTableModel(int rows, int columns);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    // Every text set afresh, without telling the views: the buffer starts empty again, with room for bytes.
    void StartFilling(std::size_t bytes);
    // Sets a text (ASCII) without telling the views; TextsChanged tells them once afterwards.
    void SetText(int row, int column, std::string_view text);

private:
    const char* Text(int storedRow, int column) const {
        return &m_bytes[m_offsets[static_cast<std::size_t>(storedRow) * static_cast<std::size_t>(m_columns) +
                                  static_cast<std::size_t>(column)]];
    }
    void Compact();

    std::vector<char> m_bytes;            // the texts, each ended by a zero; the first byte is the empty text
    std::vector<std::uint32_t> m_offsets; // per stored row, one per column
    std::vector<int> m_rows;              // the stored row of each row the view shows
    std::size_t m_unused = 0;             // bytes of texts no cell shows any more
    QStringList m_headings;
};
