#include "Version.h"

#include <cstring>

namespace {

constexpr DWORD kMajor = 6;
constexpr DWORD kMinor = 1;
constexpr DWORD kBuild = 7601;
constexpr const char* kServicePack = "Service Pack 1";

template <class Info> void Fill(Info* info) {
    info->dwMajorVersion = kMajor;
    info->dwMinorVersion = kMinor;
    info->dwBuildNumber = kBuild;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::memset(info->szCSDVersion, 0, sizeof(info->szCSDVersion));
    std::strncpy(info->szCSDVersion, kServicePack, sizeof(info->szCSDVersion) - 1);
}

} // namespace

BOOL GetVersionEx(OSVERSIONINFO* info) {
    if (!info)
        return FALSE;
    if (info->dwOSVersionInfoSize == sizeof(OSVERSIONINFOEX))
        return GetVersionEx(reinterpret_cast<OSVERSIONINFOEX*>(info));
    if (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFO))
        return FALSE;
    Fill(info);
    return TRUE;
}

BOOL GetVersionEx(OSVERSIONINFOEX* info) {
    if (!info || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOEX))
        return FALSE;
    Fill(info);
    info->wServicePackMajor = 1;
    info->wServicePackMinor = 0;
    info->wSuiteMask = 0;
    info->wProductType = 1; // a workstation
    info->wReserved = 0;
    return TRUE;
}

DWORD GetVersion() { return kMajor | (kMinor << 8) | (kBuild << 16); }
