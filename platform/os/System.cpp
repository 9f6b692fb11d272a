#include "System.h"

#include "LastError.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <ctime>

DWORD GetTickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<DWORD>(ms);
}

int MulDiv(int nNumber, int nNumerator, int nDenominator) {
    if (nDenominator == 0)
        return -1;
    const int64_t product = static_cast<int64_t>(nNumber) * nNumerator;
    const int64_t den = nDenominator;
    int64_t quotient = product / den;
    const int64_t remainder = product % den;
    // Round half away from zero: compare twice the remainder with the divisor, in magnitudes.
    const uint64_t twice = 2 * static_cast<uint64_t>(remainder < 0 ? -remainder : remainder);
    const uint64_t magnitude = static_cast<uint64_t>(den < 0 ? -den : den);
    if (twice >= magnitude && remainder != 0)
        quotient += ((product < 0) != (den < 0)) ? -1 : 1;
    if (quotient > INT_MAX || quotient < INT_MIN)
        return -1;
    return static_cast<int>(quotient);
}

DWORD GetModuleFileNameA(HMODULE /*hModule*/, LPSTR lpFilename, DWORD nSize) {
    if (!lpFilename || nSize == 0)
        return 0;
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    // The platform's separator, so that the program's own path arithmetic works; file openers turn it back.
    std::replace(path, path + length, '/', '\\');
    const auto n = std::min(static_cast<size_t>(length), static_cast<size_t>(nSize - 1));
    std::copy_n(path, n, lpFilename);
    lpFilename[n] = '\0';
    if (static_cast<size_t>(length) >= nSize) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    return static_cast<DWORD>(n);
}

BOOL PlaySoundA(LPCSTR /*pszSound*/, HMODULE /*hmod*/, DWORD /*fdwSound*/) { return FALSE; }
