#include "WallFrame.h"

#include <cstring>

namespace {

// Members may be negative or exceed 16 bits: only the low 16 bits go out, computed without overflow.
void PutWord(BYTE* at, uint32_t value) {
    at[0] = HIBYTE(value);
    at[1] = LOBYTE(value);
}

uint32_t Bits(LONG value) { return static_cast<uint32_t>(value); }

} // namespace

BYTE AreaFirstByte(const RECT& area) { return LOBYTE(Bits(area.left) * 16u | Bits(area.top)); }

BYTE AreaLastByte(const RECT& area) { return LOBYTE(Bits(area.right) * 16u | Bits(area.bottom)); }

void WindowFrame(FrameBuffer& frame, const RECT& area, BYTE code, BYTE value, const RECT& wallRect) {
    BYTE* b = frame.bytes;
    b[0] = FrameBuffer::kStart;
    b[1] = AreaFirstByte(area);
    b[2] = AreaLastByte(area);
    b[3] = code;
    b[4] = value;
    b[5] = FrameBuffer::kWindowMark;
    PutWord(b + 6, Bits(wallRect.left));
    PutWord(b + 8, Bits(wallRect.top));
    PutWord(b + 10, Bits(wallRect.right) - Bits(wallRect.left));
    PutWord(b + 12, Bits(wallRect.bottom) - Bits(wallRect.top));
    b[14] = FrameBuffer::kShortEnd;
}

void ShortFrame(FrameBuffer& frame, const RECT& area, BYTE code, BYTE value) {
    std::memset(frame.bytes, 0, sizeof frame.bytes);
    BYTE* b = frame.bytes;
    b[0] = FrameBuffer::kStart;
    b[1] = AreaFirstByte(area);
    b[2] = AreaLastByte(area);
    b[3] = code;
    b[4] = value;
    b[5] = FrameBuffer::kShortEnd;
}
