#pragma once

#include "Types.h"

#include <string>

// The framework's string: GBK bytes, counted in bytes, as the program keeps all its texts. Double-byte
// characters are never split by the case and trim operations.
class CString {
public:
    CString() = default;
    CString(const char* text) : m_str(text ? text : "") {} // NOLINT: the framework converts implicitly
    CString(const char* text, int length) : m_str(text ? std::string(text, length > 0 ? length : 0) : std::string()) {}
    CString(const std::string& text) : m_str(text) {} // NOLINT
    CString(char ch, int repeat = 1) : m_str(repeat > 0 ? repeat : 0, ch) {}

    operator LPCTSTR() const { return m_str.c_str(); } // NOLINT
    // The core takes its texts as std::string; a CString passes as it is.
    operator const std::string&() const { return m_str; } // NOLINT
    const std::string& Str() const { return m_str; }

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty() ? TRUE : FALSE; }
    void Empty() { m_str.clear(); }
    char GetAt(int index) const { return m_str.at(static_cast<size_t>(index)); }
    char operator[](int index) const { return GetAt(index); }
    void SetAt(int index, char ch) { m_str.at(static_cast<size_t>(index)) = ch; }

    CString& operator=(const char* text) {
        m_str = text ? text : "";
        return *this;
    }
    CString& operator=(char ch) {
        m_str.assign(1, ch);
        return *this;
    }
    CString& operator+=(const CString& s) {
        m_str += s.m_str;
        return *this;
    }
    CString& operator+=(const char* text) {
        if (text)
            m_str += text;
        return *this;
    }
    CString& operator+=(char ch) {
        m_str += ch;
        return *this;
    }

    // Comparisons and searches take whole characters, as the platform's multibyte functions do: a GBK lead byte
    // (0x81 to 0xFE) and the byte after it are one character, so a search never matches at a trail byte and case
    // folds only single-byte letters.
    int Compare(const char* text) const;
    int CompareNoCase(const char* text) const;
    int Collate(const char* text) const { return Compare(text); }

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;

    int Find(char ch, int start = 0) const;
    int Find(const char* text, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(const char* set) const;

    void MakeUpper();
    void MakeLower();
    void MakeReverse();
    void TrimLeft();
    void TrimRight();
    void TrimLeft(char ch);
    void TrimRight(char ch);
    void TrimLeft(const char* set);
    void TrimRight(const char* set);

    int Replace(char from, char to);
    int Replace(const char* from, const char* to);
    int Remove(char ch);
    int Insert(int index, char ch);
    int Insert(int index, const char* text);
    int Delete(int index, int count = 1);

    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // The string resource's text in GBK; FALSE (text left empty) when no table holds it. The string tables live
    // in the window layer, which defines this.
    BOOL LoadString(UINT nID);

    // Room for at least minLength bytes; ReleaseBuffer takes the length up to the first NUL (or as given).
    char* GetBuffer(int minLength);
    char* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

private:
    std::string m_str;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const char* b);
CString operator+(const char* a, const CString& b);
CString operator+(const CString& a, char b);
CString operator+(char a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator!=(const char* a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator>=(const CString& a, const CString& b);
