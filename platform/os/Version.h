#pragma once

#include "Types.h"

// The operating system as the program asks for it: always Windows NT 6.1 (7) with its first service pack,
// so that version checks take their modern branches.
struct OSVERSIONINFO {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    char szCSDVersion[128];
};
typedef OSVERSIONINFO OSVERSIONINFOA;
typedef OSVERSIONINFO* LPOSVERSIONINFO;

struct OSVERSIONINFOEX {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    char szCSDVersion[128];
    WORD wServicePackMajor;
    WORD wServicePackMinor;
    WORD wSuiteMask;
    BYTE wProductType;
    BYTE wReserved;
};

constexpr DWORD VER_PLATFORM_WIN32s = 0;
constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

// FALSE unless dwOSVersionInfoSize names one of the two records, as on the platform.
BOOL GetVersionEx(OSVERSIONINFO* info);
BOOL GetVersionEx(OSVERSIONINFOEX* info);
inline BOOL GetVersionExA(OSVERSIONINFO* info) { return GetVersionEx(info); }
// Major version in the low byte, minor in the next, build number in the high word.
DWORD GetVersion();
