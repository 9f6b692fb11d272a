#pragma once

#include "Types.h"

// Milliseconds since an arbitrary start, wrapping at 2^32 as the platform's counter does.
DWORD GetTickCount();

// number * numerator / denominator through a 64-bit product, rounded to the nearest (halves away from zero);
// -1 when the denominator is 0 or the result does not fit, as on the platform.
int MulDiv(int nNumber, int nNumerator, int nDenominator);

// The running program's full path (the module is ignored: there is one), with backslashes as the platform writes
// it. Returns the length copied; a buffer too small gets as much as fits, NUL-terminated, and the result is the
// buffer size (last error ERROR_INSUFFICIENT_BUFFER). 0 on failure. The name is in the file system's encoding
// (UTF-8, see FilePath.h), not GBK text: cut it at its last backslash byte by byte (strrchr), as CString's
// searches step over what they take for double-byte characters.
DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);

// Sounds are not played here; the caller carries on as after a failed play.
constexpr DWORD SND_SYNC = 0x0000;
constexpr DWORD SND_ASYNC = 0x0001;
constexpr DWORD SND_NODEFAULT = 0x0002;
constexpr DWORD SND_RESOURCE = 0x00040004;
constexpr DWORD SND_FILENAME = 0x00020000;
BOOL PlaySoundA(LPCSTR pszSound, HMODULE hmod, DWORD fdwSound);
