#include "Gbk.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace {

// Below 0x80 GBK and UTF-8 are both ASCII, byte for byte.
bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A converter opened once per thread and direction: opening one loads the character tables, which costs far
// more than converting a cell's text.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (Open())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::optional<std::string> Convert(std::string_view in) {
        if (!Open())
            return std::nullopt;
        // Back to the initial state: a failed conversion may have left it in the middle of a sequence.
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        out.resize(in.size() * 4 + 4);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char* dst = out.data();
        size_t dstLeft = out.size();
        while (srcLeft > 0) {
            if (iconv(m_cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) {
                if (errno == E2BIG) {
                    const size_t used = out.size() - dstLeft;
                    out.resize(out.size() * 2);
                    dst = out.data() + used;
                    dstLeft = out.size() - used;
                    continue;
                }
                return std::nullopt; // EILSEQ or EINVAL: an invalid or truncated sequence
            }
        }
        out.resize(out.size() - dstLeft);
        return out;
    }

    // Converts piece by piece into a small buffer that is thrown away: only whether it converts counts.
    bool Decodes(std::string_view in) {
        if (!Open())
            return false;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char buffer[4096];
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            if (iconv(m_cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1) && errno != E2BIG)
                return false;
        }
        return true;
    }

private:
    bool Open() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    iconv_t m_cd;
};

Converter& FromGbk() {
    thread_local Converter converter("UTF-8", "GBK");
    return converter;
}

} // namespace

std::optional<std::string> GbkToUtf8(std::string_view gbk) {
    if (IsAscii(gbk))
        return std::string(gbk);
    return FromGbk().Convert(gbk);
}

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
    if (IsAscii(utf8))
        return std::string(utf8);
    thread_local Converter converter("GBK", "UTF-8");
    return converter.Convert(utf8);
}

bool IsGbk(std::string_view text) { return IsAscii(text) || FromGbk().Decodes(text); }

bool IsUtf8(std::string_view text) {
    if (IsAscii(text))
        return true;
    thread_local Converter fromUtf8("UTF-16LE", "UTF-8");
    return fromUtf8.Decodes(text);
}

std::string Utf8ToGbkLiteral(std::string_view utf8) {
    std::optional<std::string> gbk = Utf8ToGbk(utf8);
    if (!gbk)
        throw std::logic_error("literal not representable in GBK");
    return *gbk;
}
