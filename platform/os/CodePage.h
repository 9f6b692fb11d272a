#pragma once

#include "Types.h"

// The program's multibyte code page is 936 (GBK): lead bytes 0x81 to 0xFE, each followed by one trail byte.
constexpr UINT CP_ACP = 0;
constexpr UINT CP_OEMCP = 1;
constexpr UINT CP_THREAD_ACP = 3;
constexpr UINT CP_GBK = 936;

constexpr int MAX_LEADBYTES = 12;
constexpr int MAX_DEFAULTCHAR = 2;
struct CPINFO {
    UINT MaxCharSize;
    BYTE DefaultChar[MAX_DEFAULTCHAR];
    BYTE LeadByte[MAX_LEADBYTES];
};
typedef CPINFO* LPCPINFO;

// FALSE for a code page other than the program's (CP_ACP, CP_OEMCP, CP_THREAD_ACP or 936).
BOOL GetCPInfo(UINT codePage, LPCPINFO lpCPInfo);
BOOL IsDBCSLeadByte(BYTE testChar);

// GBK <-> UTF-16, with the platform's counting: a length of -1 means NUL-terminated and counts the NUL; an output
// size of 0 asks for the size needed. 0 on failure: an unknown code page, a buffer too small, or GBK bytes that
// are not a character (nothing is guessed for them). Characters GBK lacks become the default character '?'
// (or the one given), and *lpUsedDefaultChar tells whether that happened.
int MultiByteToWideChar(UINT codePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr,
                        int cchWideChar);
int WideCharToMultiByte(UINT codePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                        int cbMultiByte, LPCSTR lpDefaultChar, BOOL* lpUsedDefaultChar);

// The runtime's multibyte comparison in GBK: a double-byte character counts as one code (lead x 256 + trail), a
// lead byte at the very end counts as the end. <0, 0, >0.
int _mbscmp(const unsigned char* string1, const unsigned char* string2);
