#pragma once

// The basic types of the platform the program was written for, with the platform's sizes.

#include <cstdint>

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef uint32_t COLORREF;
typedef void* HANDLE;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))

inline constexpr BYTE LOBYTE(uint32_t w) { return static_cast<BYTE>(w & 0xFF); }
inline constexpr BYTE HIBYTE(uint32_t w) { return static_cast<BYTE>((w >> 8) & 0xFF); }
inline constexpr WORD LOWORD(uint32_t l) { return static_cast<WORD>(l & 0xFFFF); }
inline constexpr WORD HIWORD(uint32_t l) { return static_cast<WORD>((l >> 16) & 0xFFFF); }

struct POINT {
    LONG x;
    LONG y;
};

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
