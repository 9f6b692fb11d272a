#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A small random generator of our own (splitmix64), so that a seed gives the same cases and the same kill
// moments with every standard library.
class CaseRandom {
public:
    explicit CaseRandom(uint64_t seed) : m_state(seed) {}
    uint64_t Next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    size_t Below(size_t n) { return n == 0 ? 0 : static_cast<size_t>(Next() % n); }
    bool Chance(int percent) { return static_cast<int>(Below(100)) < percent; }
    template <typename T> const T& Pick(const std::vector<T>& items) { return items[Below(items.size())]; }

private:
    uint64_t m_state;
};
