#include "HeapCounter.h"

#include <malloc.h>

std::int64_t HeapBytesInUse() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<std::int64_t>(info.uordblks + info.hblkhd);
}
