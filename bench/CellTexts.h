#pragma once

#include <cstdint>
#include <vector>

// The texts the benchmarks fill their tables with, the same for every table, made before anything is timed so that
// no table pays for making them: short ones of 5 to 9 characters (a name, a number) or long ones of 25 to 29 (a
// description), letters and digits in no order, so that sorting has work to do. Generation 0 is the first fill,
// generation 1 other texts of the same lengths.
enum class TextLength { Short, Long };

class CellTexts {
public:
    CellTexts(TextLength length, int rows, int columns);

    // The text of a cell (row and column from 0), with a terminating zero, and its length.
    const char* Text(int generation, int row, int col) const { return &m_bytes[At(generation, row, col)]; }
    int Length(int generation, int row, int col) const {
        return static_cast<int>(At(generation, row, col + 1) - At(generation, row, col) - 1);
    }

private:
    std::size_t At(int generation, int row, int col) const {
        return m_starts[(static_cast<std::size_t>(generation) * static_cast<std::size_t>(m_rows) +
                         static_cast<std::size_t>(row)) *
                            static_cast<std::size_t>(m_columns + 1) +
                        static_cast<std::size_t>(col)];
    }

    int m_rows;
    int m_columns;
    std::vector<char> m_bytes;
    std::vector<std::size_t> m_starts; // per row, columns + 1 starts: the last is where the next text would start
};
