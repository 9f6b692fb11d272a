#pragma once

// The basic types of the platform the program was written for, with the platform's sizes.

#include <cstddef>
#include <cstdint>
#include <cstring>

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef uint32_t COLORREF;
typedef void* HANDLE;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef uintptr_t UINT_PTR;
typedef intptr_t INT_PTR;
typedef uintptr_t DWORD_PTR;
typedef char TCHAR;
typedef const char* LPCTSTR;
typedef char* LPTSTR;
typedef char CHAR;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef void* LPVOID;
typedef BYTE* LPBYTE;
// Wide characters are UTF-16 units, as on the platform (wchar_t is 32 bits here).
typedef char16_t WCHAR;
typedef const WCHAR* LPCWSTR;
typedef WCHAR* LPWSTR;
typedef struct HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))

// Texts are narrow throughout, so a text literal stays as written.
#define _T(x) x
constexpr int MAX_PATH = 260;
inline void ZeroMemory(void* destination, size_t length) { std::memset(destination, 0, length); }

inline constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
inline constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
inline constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
inline constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }
inline constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) {
    return static_cast<LPARAM>(static_cast<uint32_t>(lo) | (static_cast<uint32_t>(hi) << 16));
}
inline constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) {
    return static_cast<WPARAM>(static_cast<uint32_t>(lo) | (static_cast<uint32_t>(hi) << 16));
}
inline constexpr DWORD MAKELONG(WORD lo, WORD hi) { return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16); }
inline constexpr LRESULT MAKELRESULT(WORD lo, WORD hi) {
    return static_cast<LRESULT>(static_cast<uint32_t>(lo) | (static_cast<uint32_t>(hi) << 16));
}

inline constexpr WORD MAKEWORD(BYTE lo, BYTE hi) { return static_cast<WORD>(lo | (hi << 8)); }

inline constexpr BYTE LOBYTE(uint32_t w) { return static_cast<BYTE>(w & 0xFF); }
inline constexpr BYTE HIBYTE(uint32_t w) { return static_cast<BYTE>((w >> 8) & 0xFF); }
inline constexpr WORD LOWORD(uint32_t l) { return static_cast<WORD>(l & 0xFFFF); }
inline constexpr WORD HIWORD(uint32_t l) { return static_cast<WORD>((l >> 16) & 0xFFFF); }

struct POINT {
    LONG x;
    LONG y;
};

// A point packed in 16-bit halves, as mouse messages carry it.
struct POINTS {
    short x;
    short y;
};
inline constexpr POINTS MAKEPOINTS(uint32_t l) {
    return POINTS{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
}

struct SIZE {
    LONG cx;
    LONG cy;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
