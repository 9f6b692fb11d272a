#include "ConvertOperation.h"

#include "MsgSegment.h"

#include <cstring>

namespace {

// The decimal text plus its terminator: room for the widest padding.
constexpr int kTextSize = kMaxDecimalWidth + 1;

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int DigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    return 99;
}

} // namespace

CConvertOperation::CConvertOperation(CMsgSegment* segment, int kind, int width)
    : COperation(segment, kind), m_width(width) {}

int CConvertOperation::Apply() {
    if (!m_segment)
        return 1;
    int v = 0;
    m_segment->GetValue(v);
    switch (m_kind) {
    case kOpToDecimalText: {
        BYTE text[kTextSize];
        int n = kTextSize;
        if (FormatDecimalPadded(text, n, v, m_width))
            m_segment->SetBytes(text, n);
        else
            m_segment->MarkTooLong();
        break;
    }
    case kOpToHexText: {
        BYTE text[kTextSize];
        int n = 0;
        FormatHexUpper(text, n, v);
        m_segment->SetBytes(text, n);
        break;
    }
    case kOpKeepNumber: m_segment->SetValue(v); break;
    case kOpTextBytes:
    case kOpHexTextToNumber:
    case kOpDecimalTextToNumber: {
        const char* text = "";
        int length = 0;
        m_segment->GetString(text, length);
        if (m_kind == kOpTextBytes)
            m_segment->SetString(text, length);
        else
            m_segment->SetValue(
                static_cast<int>(ParseUnsignedText(text, length, m_kind == kOpHexTextToNumber ? 16 : 10)));
        break;
    }
    default: break;
    }
    return 1;
}

int FormatDecimalPadded(BYTE* out, int& len, int value, int width) {
    if (!out || width > kMaxDecimalWidth)
        return 0;
    char digits[16];
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    int textLength = count + (value < 0 ? 1 : 0);
    int n = width > textLength ? width : textLength;
    if (n + 1 > len)
        return 0;
    int at = 0;
    for (int i = textLength; i < n; ++i)
        out[at++] = '0';
    if (value < 0)
        out[at++] = '-';
    while (count > 0)
        out[at++] = static_cast<BYTE>(digits[--count]);
    out[at] = 0;
    len = n;
    return 1;
}

int FormatHexUpper(BYTE* out, int& len, int value) {
    static const char kDigits[] = "0123456789ABCDEF";
    uint32_t v = static_cast<uint32_t>(value);
    char reversed[8];
    int count = 0;
    do {
        reversed[count++] = kDigits[v & 0xF];
        v >>= 4;
    } while (v);
    for (int i = 0; i < count; ++i)
        out[i] = static_cast<BYTE>(reversed[count - 1 - i]);
    out[count] = 0;
    len = count;
    return 1;
}

uint32_t ParseUnsignedText(const char* text, int length, int base) {
    if (!text || length <= 0)
        return 0;
    int i = 0;
    while (i < length && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // "0x" counts as a prefix only when a hexadecimal digit follows; otherwise the 0 is the number.
    if (base == 16 && i + 2 < length && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        DigitValue(text[i + 2]) < 16)
        i += 2;
    uint64_t v = 0;
    bool overflow = false;
    for (; i < length; ++i) {
        int d = DigitValue(text[i]);
        if (d >= base)
            break;
        v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
        if (v > 0xFFFFFFFFull) {
            overflow = true;
            v = 0xFFFFFFFFull; // keeps v bounded while the digits run on
        }
    }
    if (overflow)
        return 0xFFFFFFFFu;
    uint32_t result = static_cast<uint32_t>(v);
    return negative ? 0u - result : result;
}
