#pragma once

#include "platform/os/Types.h"

// A cell's coordinates, row then column; (-1, -1) is no cell.
struct CCellID {
    int row = -1;
    int col = -1;

    CCellID() = default;
    CCellID(int nRow, int nCol) : row(nRow), col(nCol) {}

    bool operator==(const CCellID& other) const { return row == other.row && col == other.col; }
    bool operator!=(const CCellID& other) const { return !(*this == other); }
};

// A block of cells, bounds included; every bound is -1 for the empty block.
class CCellRange {
public:
    CCellRange() = default;
    CCellRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol)
        : m_minRow(nMinRow), m_minCol(nMinCol), m_maxRow(nMaxRow), m_maxCol(nMaxCol) {}

    void Set(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol) {
        *this = CCellRange(nMinRow, nMinCol, nMaxRow, nMaxCol);
    }

    int GetMinRow() const { return m_minRow; }
    int GetMinCol() const { return m_minCol; }
    int GetMaxRow() const { return m_maxRow; }
    int GetMaxCol() const { return m_maxCol; }
    void SetMinRow(int nRow) { m_minRow = nRow; }
    void SetMinCol(int nCol) { m_minCol = nCol; }
    void SetMaxRow(int nRow) { m_maxRow = nRow; }
    void SetMaxCol(int nCol) { m_maxCol = nCol; }

    BOOL IsValid() const {
        return (m_minRow >= 0 && m_minCol >= 0 && m_maxRow >= 0 && m_maxCol >= 0 && m_minRow <= m_maxRow &&
                m_minCol <= m_maxCol)
                   ? TRUE
                   : FALSE;
    }
    BOOL InRange(int nRow, int nCol) const {
        return (nRow >= m_minRow && nRow <= m_maxRow && nCol >= m_minCol && nCol <= m_maxCol) ? TRUE : FALSE;
    }
    BOOL InRange(const CCellID& cell) const { return InRange(cell.row, cell.col); }

    bool operator==(const CCellRange& other) const {
        return m_minRow == other.m_minRow && m_minCol == other.m_minCol && m_maxRow == other.m_maxRow &&
               m_maxCol == other.m_maxCol;
    }
    bool operator!=(const CCellRange& other) const { return !(*this == other); }

private:
    int m_minRow = -1;
    int m_minCol = -1;
    int m_maxRow = -1;
    int m_maxCol = -1;
};
