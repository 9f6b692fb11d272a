#pragma once

// The platform C runtime's pseudo-random generator, which some drawing depends on to the bit: a linear
// congruential generator (x * 214013 + 2531011) whose results are bits 16 to 30, so 0 to 32767, starting
// from seed 1. glibc's rand has another sequence and range. Where the original calls rand and srand, call
// CrtRand and CrtSrand.
constexpr int CRT_RAND_MAX = 0x7FFF;

int CrtRand();
void CrtSrand(unsigned int seed);
