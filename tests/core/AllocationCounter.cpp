#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

// In a file of its own, so that no caller sees these bodies and mistakes the pairing of new with free.

namespace {

std::atomic<bool> gCounting{false};
std::atomic<int> gAllocations{0};
std::atomic<int> gFailing{0};

} // namespace

void StartCountingAllocations() {
    gAllocations = 0;
    gFailing = 0;
    gCounting = true;
}

int StopCountingAllocations() {
    gCounting = false;
    gFailing = 0;
    return gAllocations;
}

void FailAllocation(int n) {
    StartCountingAllocations();
    gFailing = n;
}

void* operator new(std::size_t size) {
    if (gCounting && ++gAllocations == gFailing)
        throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
