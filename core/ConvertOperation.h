#pragma once

#include "Operation.h"
#include "platform/os/Types.h"

// Turns the segment's value or constant text into its bytes: decimal or hexadecimal text, the number kept,
// the text's own bytes, or the text read as a number.
class CConvertOperation : public COperation {
public:
    // width: the decimal text's width (kind 7 only).
    CConvertOperation(CMsgSegment* segment, int kind, int width = 0);

    int Apply() override;

private:
    int m_width;
};

// The widest decimal text a conversion may ask for.
constexpr int kMaxDecimalWidth = 32;

// The value in decimal, zeros in front (before a minus sign) up to width; never cut. len: in the capacity of
// out including the terminating zero, out the text length. 0 (nothing written) when width is above 32 or the
// text and its terminator do not fit.
int FormatDecimalPadded(BYTE* out, int& len, int value, int width);

// The value's upper-case hexadecimal digits without leading zeros, and a terminating zero; out must hold 9
// bytes. A negative value is written as its 32-bit pattern. len: the digit count. 1.
int FormatHexUpper(BYTE* out, int& len, int value);

// Text read as an unsigned number: blanks, an optional sign (minus negates modulo 2^32), for base 16 an
// optional 0x, then digits up to the first non-digit. No digit gives 0; beyond 32 bits gives 0xFFFFFFFF.
uint32_t ParseUnsignedText(const char* text, int length, int base);
