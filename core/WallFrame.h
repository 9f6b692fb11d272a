#pragma once

#include "platform/os/Rect.h"
#include "platform/os/Types.h"

// A wall frame: 6 bytes (byte 5 is 0xAA) or 15 bytes (byte 5 is 0xAB), in a buffer of the longer size.
struct FrameBuffer {
    static constexpr int kSize = 15;
    static constexpr BYTE kStart = 0xD5;
    static constexpr BYTE kShortEnd = 0xAA;
    static constexpr BYTE kWindowMark = 0xAB;
    static constexpr int kShortLength = 6;

    BYTE bytes[kSize] = {};

    // The number of bytes to send, as byte 5 tells it.
    int Length() const { return bytes[5] == kWindowMark ? kSize : kShortLength; }
};

// An area holds a block of units (first row, first column, last row, last column) in left, top, right, bottom;
// a frame carries it as (left * 16) | top and (right * 16) | bottom, cut to 8 bits. Members above 15 are not
// masked: they spill into the other nibble, as the units have always received them.
BYTE AreaFirstByte(const RECT& area);
BYTE AreaLastByte(const RECT& area);

// Fills the 15-byte window frame: start, area, code, value, 0xAB, then the wall rectangle's left, top,
// width and height as 16-bit big-endian values, and the end byte.
void WindowFrame(FrameBuffer& frame, const RECT& area, BYTE code, BYTE value, const RECT& wallRect);

// Fills the first six bytes with the short frame; the rest of the buffer is left as zeros.
void ShortFrame(FrameBuffer& frame, const RECT& area, BYTE code, BYTE value);
