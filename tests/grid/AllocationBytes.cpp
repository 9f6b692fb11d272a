#include "GridTestSupport.h"

#include <atomic>
#include <cstdlib>
#include <new>

// Replaces operator new for the whole test binary; counts only between Start and Stop.

namespace {

std::atomic<bool> gCounting{false};
std::atomic<size_t> gBytes{0};
std::atomic<size_t> gCalls{0};

} // namespace

void StartCountingBytes() {
    gBytes = 0;
    gCalls = 0;
    gCounting = true;
}

AllocationCount StopCountingBytes() {
    gCounting = false;
    return {gBytes, gCalls};
}

void* operator new(std::size_t size) {
    if (gCounting) {
        gBytes += size;
        ++gCalls;
    }
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
