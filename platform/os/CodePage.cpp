#include "CodePage.h"

#include "Gbk.h"

#include <cstring>
#include <optional>
#include <string>

namespace {

bool IsProgramCodePage(UINT codePage) {
    return codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_THREAD_ACP || codePage == CP_GBK;
}

std::u16string Utf8ToUtf16(const std::string& utf8) {
    std::u16string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += 1 + extra;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string CodePointToUtf8(char32_t cp) {
    std::string out;
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
    return out;
}

} // namespace

BOOL GetCPInfo(UINT codePage, LPCPINFO lpCPInfo) {
    if (!lpCPInfo || !IsProgramCodePage(codePage))
        return FALSE;
    *lpCPInfo = CPINFO{};
    lpCPInfo->MaxCharSize = 2;
    lpCPInfo->DefaultChar[0] = '?';
    lpCPInfo->LeadByte[0] = 0x81;
    lpCPInfo->LeadByte[1] = 0xFE;
    return TRUE;
}

BOOL IsDBCSLeadByte(BYTE testChar) { return testChar >= 0x81 && testChar <= 0xFE ? TRUE : FALSE; }

int MultiByteToWideChar(UINT codePage, DWORD /*dwFlags*/, LPCSTR lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr,
                        int cchWideChar) {
    if (!IsProgramCodePage(codePage) || !lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
        (cchWideChar > 0 && !lpWideCharStr))
        return 0;
    const size_t length = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
    const std::optional<std::string> utf8 = GbkToUtf8(std::string_view(lpMultiByteStr, length));
    if (!utf8)
        return 0;
    const std::u16string wide = Utf8ToUtf16(*utf8);
    if (cchWideChar == 0)
        return static_cast<int>(wide.size());
    if (wide.size() > static_cast<size_t>(cchWideChar))
        return 0;
    std::copy(wide.begin(), wide.end(), lpWideCharStr);
    return static_cast<int>(wide.size());
}

int WideCharToMultiByte(UINT codePage, DWORD /*dwFlags*/, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                        int cbMultiByte, LPCSTR lpDefaultChar, BOOL* lpUsedDefaultChar) {
    if (lpUsedDefaultChar)
        *lpUsedDefaultChar = FALSE;
    if (!IsProgramCodePage(codePage) || !lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
        (cbMultiByte > 0 && !lpMultiByteStr))
        return 0;
    size_t length = 0;
    if (cchWideChar == -1) {
        while (lpWideCharStr[length])
            ++length;
        ++length;
    } else {
        length = static_cast<size_t>(cchWideChar);
    }
    const std::string fallback = lpDefaultChar && *lpDefaultChar ? std::string(lpDefaultChar, 1) : std::string("?");
    std::string out;
    for (size_t i = 0; i < length; ++i) {
        char32_t cp = lpWideCharStr[i];
        bool valid = true;
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < length && lpWideCharStr[i + 1] >= 0xDC00 &&
            lpWideCharStr[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (lpWideCharStr[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            valid = false; // a lone surrogate is no character
        }
        if (valid && cp < 0x80) {
            out.push_back(static_cast<char>(cp));
            continue;
        }
        const std::optional<std::string> gbk = valid ? Utf8ToGbk(CodePointToUtf8(cp)) : std::nullopt;
        if (gbk) {
            out += *gbk;
        } else {
            out += fallback;
            if (lpUsedDefaultChar)
                *lpUsedDefaultChar = TRUE;
        }
    }
    if (cbMultiByte == 0)
        return static_cast<int>(out.size());
    if (out.size() > static_cast<size_t>(cbMultiByte))
        return 0;
    std::memcpy(lpMultiByteStr, out.data(), out.size());
    return static_cast<int>(out.size());
}

int _mbscmp(const unsigned char* string1, const unsigned char* string2) {
    if (!string1 || !string2)
        return string1 == string2 ? 0 : (string1 ? 1 : -1);
    // One code per character; a lead byte with no trail byte ends the text.
    auto next = [](const unsigned char*& p) -> unsigned {
        if (!*p)
            return 0;
        if (IsDBCSLeadByte(*p)) {
            if (!p[1])
                return 0;
            const unsigned code = (static_cast<unsigned>(p[0]) << 8) | p[1];
            p += 2;
            return code;
        }
        return *p++;
    };
    for (;;) {
        const unsigned a = next(string1);
        const unsigned b = next(string2);
        if (a != b)
            return a < b ? -1 : 1;
        if (a == 0)
            return 0;
    }
}
