#include "ResidentMemory.h"

#include <cstdio>
#include <unistd.h>

std::int64_t ResidentBytes() {
    std::FILE* file = std::fopen("/proc/self/statm", "r");
    if (!file)
        return 0;
    long long size = 0;
    long long resident = 0;
    const int read = std::fscanf(file, "%lld %lld", &size, &resident);
    std::fclose(file);
    return read == 2 ? resident * static_cast<std::int64_t>(sysconf(_SC_PAGESIZE)) : 0;
}
