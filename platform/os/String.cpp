#include "String.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

int ClampIndex(int index, int length) { return index < 0 ? 0 : (index > length ? length : index); }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The length of the character at a position, as the platform's multibyte functions step: a lead byte takes the
// next byte with it, unless the text ends there.
size_t CharLength(const std::string& text, size_t at) {
    return IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

// The character at a position as one number: a byte, or lead byte * 256 + trail byte. Single bytes fold to
// lower case when asked; double-byte characters have no case here.
unsigned CharCode(const std::string& text, size_t at, size_t length, bool fold) {
    const auto first = static_cast<unsigned char>(text[at]);
    if (length == 2)
        return (static_cast<unsigned>(first) << 8) | static_cast<unsigned char>(text[at + 1]);
    return fold ? static_cast<unsigned char>(AsciiLower(static_cast<char>(first))) : first;
}

} // namespace

int CString::Compare(const char* text) const { return Sign(std::strcmp(m_str.c_str(), text ? text : "")); }

int CString::CompareNoCase(const char* text) const {
    const std::string other = text ? text : "";
    size_t i = 0, j = 0;
    while (i < m_str.size() && j < other.size()) {
        const size_t li = CharLength(m_str, i), lj = CharLength(other, j);
        const unsigned a = CharCode(m_str, i, li, true), b = CharCode(other, j, lj, true);
        if (a != b)
            return a < b ? -1 : 1;
        i += li;
        j += lj;
    }
    if (i < m_str.size())
        return 1;
    return j < other.size() ? -1 : 0;
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
    first = ClampIndex(first, GetLength());
    count = ClampIndex(count, GetLength() - first);
    return CString(m_str.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const {
    count = ClampIndex(count, GetLength());
    return Mid(GetLength() - count, count);
}

int CString::Find(char ch, int start) const {
    if (start < 0 || start >= GetLength())
        return -1;
    for (size_t i = static_cast<size_t>(start); i < m_str.size(); i += CharLength(m_str, i))
        if (CharLength(m_str, i) == 1 && m_str[i] == ch)
            return static_cast<int>(i);
    return -1;
}

int CString::Find(const char* text, int start) const {
    if (!text || start < 0 || start > GetLength())
        return -1;
    const size_t length = std::strlen(text);
    if (length == 0)
        return start;
    // Only a match that begins on a character counts.
    for (size_t i = static_cast<size_t>(start); i < m_str.size(); i += CharLength(m_str, i))
        if (m_str.compare(i, length, text) == 0)
            return static_cast<int>(i);
    return -1;
}

int CString::ReverseFind(char ch) const {
    int found = -1;
    for (size_t i = 0; i < m_str.size(); i += CharLength(m_str, i))
        if (CharLength(m_str, i) == 1 && m_str[i] == ch)
            found = static_cast<int>(i);
    return found;
}

int CString::FindOneOf(const char* set) const {
    const std::string chars = set ? set : "";
    for (size_t i = 0; i < m_str.size(); i += CharLength(m_str, i)) {
        const size_t li = CharLength(m_str, i);
        for (size_t j = 0; j < chars.size(); j += CharLength(chars, j))
            if (CharLength(chars, j) == li && m_str.compare(i, li, chars, j, li) == 0)
                return static_cast<int>(i);
    }
    return -1;
}

void CString::MakeUpper() {
    for (size_t i = 0; i < m_str.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(m_str[i])) && i + 1 < m_str.size())
            ++i;
        else
            m_str[i] = AsciiUpper(m_str[i]);
    }
}

void CString::MakeLower() {
    for (size_t i = 0; i < m_str.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(m_str[i])) && i + 1 < m_str.size())
            ++i;
        else
            m_str[i] = AsciiLower(m_str[i]);
    }
}

void CString::MakeReverse() {
    // Reverse by characters so that double-byte characters stay whole.
    std::vector<std::string> chars;
    for (size_t i = 0; i < m_str.size();) {
        const size_t width = (IsLeadByte(static_cast<unsigned char>(m_str[i])) && i + 1 < m_str.size()) ? 2 : 1;
        chars.push_back(m_str.substr(i, width));
        i += width;
    }
    m_str.clear();
    for (auto it = chars.rbegin(); it != chars.rend(); ++it)
        m_str += *it;
}

void CString::TrimLeft() {
    size_t i = 0;
    while (i < m_str.size() && IsSpace(m_str[i]))
        ++i;
    m_str.erase(0, i);
}

void CString::TrimRight() {
    size_t n = m_str.size();
    while (n > 0 && IsSpace(m_str[n - 1]))
        --n;
    m_str.resize(n);
}

void CString::TrimLeft(char ch) { TrimLeft(std::string(1, ch).c_str()); }
void CString::TrimRight(char ch) { TrimRight(std::string(1, ch).c_str()); }

void CString::TrimLeft(const char* set) {
    const CString chars(set ? set : "");
    size_t i = 0;
    while (i < m_str.size() && chars.FindOneOf(m_str.substr(i, CharLength(m_str, i)).c_str()) >= 0)
        i += CharLength(m_str, i);
    m_str.erase(0, i);
}

void CString::TrimRight(const char* set) {
    const CString chars(set ? set : "");
    // The trailing run of characters from the set, found walking forward so that trail bytes are never judged alone.
    size_t keep = 0;
    for (size_t i = 0; i < m_str.size(); i += CharLength(m_str, i))
        if (chars.FindOneOf(m_str.substr(i, CharLength(m_str, i)).c_str()) < 0)
            keep = i + CharLength(m_str, i);
    m_str.resize(keep);
}

int CString::Replace(char from, char to) {
    int count = 0;
    for (size_t i = 0; i < m_str.size(); i += CharLength(m_str, i)) {
        if (CharLength(m_str, i) == 1 && m_str[i] == from) {
            m_str[i] = to;
            ++count;
        }
    }
    return count;
}

int CString::Replace(const char* from, const char* to) {
    if (!from || !*from)
        return 0;
    const std::string t(to ? to : "");
    const size_t length = std::strlen(from);
    int count = 0;
    for (int at = Find(from); at >= 0; at = Find(from, at + static_cast<int>(t.size()))) {
        m_str.replace(static_cast<size_t>(at), length, t);
        ++count;
    }
    return count;
}

int CString::Remove(char ch) {
    const size_t before = m_str.size();
    std::string kept;
    for (size_t i = 0; i < m_str.size(); i += CharLength(m_str, i))
        if (CharLength(m_str, i) == 2 || m_str[i] != ch)
            kept.append(m_str, i, CharLength(m_str, i));
    m_str = std::move(kept);
    return static_cast<int>(before - m_str.size());
}

int CString::Insert(int index, char ch) { return Insert(index, std::string(1, ch).c_str()); }

int CString::Insert(int index, const char* text) {
    m_str.insert(static_cast<size_t>(ClampIndex(index, GetLength())), text ? text : "");
    return GetLength();
}

int CString::Delete(int index, int count) {
    if (index >= 0 && index < GetLength() && count > 0)
        m_str.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return GetLength();
}

void CString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed < 0) {
        m_str.clear();
    } else {
        std::string out(static_cast<size_t>(needed) + 1, '\0');
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<size_t>(needed));
        m_str = std::move(out);
    }
    va_end(args);
}

char* CString::GetBuffer(int minLength) {
    if (minLength > GetLength())
        m_str.resize(static_cast<size_t>(minLength));
    return m_str.data();
}

char* CString::GetBufferSetLength(int length) {
    m_str.resize(static_cast<size_t>(length > 0 ? length : 0));
    return m_str.data();
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0)
        m_str.resize(std::strlen(m_str.c_str()));
    else
        m_str.resize(static_cast<size_t>(newLength));
}

CString operator+(const CString& a, const CString& b) { return CString(a.Str() + b.Str()); }
CString operator+(const CString& a, const char* b) { return CString(a.Str() + (b ? b : "")); }
CString operator+(const char* a, const CString& b) { return CString((a ? a : "") + b.Str()); }
CString operator+(const CString& a, char b) { return CString(a.Str() + b); }
CString operator+(char a, const CString& b) { return CString(a + b.Str()); }

bool operator==(const CString& a, const CString& b) { return a.Str() == b.Str(); }
bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, const char* b) { return !(a == b); }
bool operator!=(const char* a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
