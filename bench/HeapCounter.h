#pragma once

#include <cstdint>

// Bytes the process holds on the heap (malloc and everything built on it: operator new, Qt's containers and
// strings), each block by its usable size, counted at every allocation and release while counting is on. Counting
// is off at start: it costs time on every allocation, so a benchmark turns it on only around what it measures
// and reads the difference, never across timed work.
void SetHeapCounting(bool on);
std::int64_t HeapBytesInUse();
