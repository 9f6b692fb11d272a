#pragma once

#include <cstdint>

// Bytes the process holds on the heap, counted at every allocation and release (malloc and everything built on
// it: operator new, Qt's containers and strings), each block by its usable size.
std::int64_t HeapBytesInUse();
