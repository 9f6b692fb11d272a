#include "HeapCounter.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <malloc.h>

// The C library's own allocator, under the names it exports for code that wraps it.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* block);
}

namespace {

std::atomic<std::int64_t> gInUse{0};
std::atomic<bool> gCounting{false};

void* Counted(void* block) {
    if (block && gCounting.load(std::memory_order_relaxed))
        gInUse += static_cast<std::int64_t>(malloc_usable_size(block));
    return block;
}

void Uncount(void* block) {
    if (block && gCounting.load(std::memory_order_relaxed))
        gInUse -= static_cast<std::int64_t>(malloc_usable_size(block));
}

} // namespace

void SetHeapCounting(bool on) { gCounting = on; }

std::int64_t HeapBytesInUse() { return gInUse; }

// These replace the C library's entry points for the whole program, shared libraries included.
extern "C" {

void* malloc(size_t size) { return Counted(__libc_malloc(size)); }

void* calloc(size_t count, size_t size) { return Counted(__libc_calloc(count, size)); }

void* realloc(void* block, size_t size) {
    if (!gCounting.load(std::memory_order_relaxed))
        return __libc_realloc(block, size);
    const std::int64_t before = block ? static_cast<std::int64_t>(malloc_usable_size(block)) : 0;
    void* moved = __libc_realloc(block, size);
    if (moved || size == 0) {
        gInUse -= before;
        Counted(moved);
    }
    return moved;
}

void free(void* block) {
    Uncount(block);
    __libc_free(block);
}

void* memalign(size_t alignment, size_t size) { return Counted(__libc_memalign(alignment, size)); }

void* aligned_alloc(size_t alignment, size_t size) { return Counted(__libc_memalign(alignment, size)); }

int posix_memalign(void** out, size_t alignment, size_t size) {
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* block = Counted(__libc_memalign(alignment, size));
    if (!block && size != 0)
        return ENOMEM;
    *out = block;
    return 0;
}

void* valloc(size_t size) { return Counted(__libc_memalign(4096, size)); }

void* pvalloc(size_t size) { return Counted(__libc_memalign(4096, (size + 4095) & ~size_t{4095})); }
}
