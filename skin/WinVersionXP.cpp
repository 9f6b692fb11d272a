#include "WinVersionXP.h"

namespace {

int cachedCode = 0;

} // namespace

int WinVersionCodeXP(const OSVERSIONINFOA& info) {
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s: return 1;
    case VER_PLATFORM_WIN32_NT:
        if (info.dwMajorVersion == 4)
            return 6;
        if (info.dwMajorVersion == 5 && info.dwMinorVersion == 0)
            return 7;
        if (info.dwMajorVersion == 5 && info.dwMinorVersion == 1)
            return 8;
        return 5;
    default:
        if (info.dwMajorVersion == 4 && info.dwMinorVersion == 10)
            return 3;
        if (info.dwMajorVersion == 4 && info.dwMinorVersion == 90)
            return 4;
        return 2;
    }
}

int GetWinVersionXP() {
    if (cachedCode != 0)
        return cachedCode;
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(&info))
        return 0;
    cachedCode = WinVersionCodeXP(info);
    return cachedCode;
}
