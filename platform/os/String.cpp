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

} // namespace

int CString::Compare(const char* text) const { return Sign(std::strcmp(m_str.c_str(), text ? text : "")); }

int CString::CompareNoCase(const char* text) const {
    const char* a = m_str.c_str();
    const char* b = text ? text : "";
    for (;; ++a, ++b) {
        const auto ca = static_cast<unsigned char>(AsciiLower(*a));
        const auto cb = static_cast<unsigned char>(AsciiLower(*b));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
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
    const size_t at = m_str.find(ch, static_cast<size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const char* text, int start) const {
    if (!text || start < 0 || start > GetLength())
        return -1;
    const size_t at = m_str.find(text, static_cast<size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char ch) const {
    const size_t at = m_str.rfind(ch);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(const char* set) const {
    const size_t at = m_str.find_first_of(set ? set : "");
    return at == std::string::npos ? -1 : static_cast<int>(at);
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
    const size_t at = m_str.find_first_not_of(set ? set : "");
    m_str.erase(0, at == std::string::npos ? m_str.size() : at);
}

void CString::TrimRight(const char* set) {
    const size_t at = m_str.find_last_not_of(set ? set : "");
    m_str.resize(at == std::string::npos ? 0 : at + 1);
}

int CString::Replace(char from, char to) {
    int count = 0;
    for (char& c : m_str) {
        if (c == from) {
            c = to;
            ++count;
        }
    }
    return count;
}

int CString::Replace(const char* from, const char* to) {
    if (!from || !*from)
        return 0;
    const std::string f(from), t(to ? to : "");
    int count = 0;
    for (size_t at = m_str.find(f); at != std::string::npos; at = m_str.find(f, at + t.size())) {
        m_str.replace(at, f.size(), t);
        ++count;
    }
    return count;
}

int CString::Remove(char ch) {
    const size_t before = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
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
