#include "Rand.h"

#include <cstdint>

namespace {

uint32_t& State() {
    static uint32_t state = 1;
    return state;
}

} // namespace

int CrtRand() {
    State() = State() * 214013u + 2531011u;
    return static_cast<int>((State() >> 16) & 0x7FFF);
}

void CrtSrand(unsigned int seed) { State() = seed; }
