#pragma once

#include <cstdint>

// Bytes of the process's memory in RAM now (its resident set), as the kernel reports it; 0 when it cannot be read.
std::int64_t ResidentBytes();
