#include "CellTexts.h"

#include <cstdint>

namespace {

std::uint64_t Mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Random bits, a few at a time, from one 64-bit word after another.
class Bits {
public:
    explicit Bits(std::uint64_t seed) : m_bits(Mix(seed)) {}
    unsigned Take(int count) {
        if (m_left < count) {
            m_bits = Mix(m_bits);
            m_left = 64;
        }
        const auto value = static_cast<unsigned>(m_bits & ((1u << count) - 1));
        m_bits >>= count;
        m_left -= count;
        return value;
    }

private:
    std::uint64_t m_bits;
    int m_left = 64;
};

// Writes the text of a cell into out (room for 32 bytes) and gives its length.
int MakeText(TextLength length, int row, int col, int generation, char* out) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789abcdefghijklmnopqrstuvwxyz01";
    Bits bits((static_cast<std::uint64_t>(static_cast<std::uint32_t>(row)) << 32) ^
              (static_cast<std::uint64_t>(col) << 8) ^ static_cast<std::uint64_t>(generation));
    const int size = (length == TextLength::Short ? 5 : 25) + static_cast<int>(bits.Take(3) % 5);
    int word = 0;
    for (int i = 0; i < size; i++) {
        // Long texts are words of three characters or more; every text starts with a capital.
        if (length == TextLength::Long && word >= 3 && i + 1 < size && bits.Take(3) == 0) {
            out[i] = ' ';
            word = 0;
            continue;
        }
        const char c = kLetters[bits.Take(6)];
        out[i] = (i == 0 && c >= 'a') ? static_cast<char>(c - 'a' + 'A') : c;
        ++word;
    }
    out[size] = '\0';
    return size;
}

} // namespace

CellTexts::CellTexts(TextLength length, int rows, int columns) : m_rows(rows), m_columns(columns) {
    const std::size_t cells = static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns);
    m_bytes.reserve(2 * cells * (length == TextLength::Short ? 8 : 28));
    m_starts.reserve(2 * static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns + 1));
    char text[32];
    for (int generation = 0; generation < 2; generation++) {
        for (int row = 0; row < rows; row++) {
            for (int col = 0; col < columns; col++) {
                m_starts.push_back(m_bytes.size());
                const int size = MakeText(length, row, col, generation, text);
                m_bytes.insert(m_bytes.end(), text, text + size + 1);
            }
            m_starts.push_back(m_bytes.size());
        }
    }
}
