#pragma once

#include <cstdint>

// Bytes the process holds on the heap (malloc and everything built on it: operator new, Qt's containers and
// strings), as the C library's allocator counts them: every block in use with its header, large ones mapped on
// their own too. Nothing replaces the allocator, so no allocation costs more while the tables work; a benchmark
// reads the figure before and after what it measures.
std::int64_t HeapBytesInUse();
