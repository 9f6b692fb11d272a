#pragma once

#include <cstddef>

// A cell's text in 16 bytes: up to 15 bytes inside the object, longer texts in a block of exactly their size.
// A grid holds millions of texts, mostly short; a general string takes twice the room and a spare capacity.
// The bytes are the text's own (GBK), always followed by a zero.
class CCellText {
public:
    CCellText() { SetInline(0); }
    ~CCellText() { Release(); }
    CCellText(const CCellText& other) : CCellText() { Assign(other.c_str(), other.size()); }
    CCellText& operator=(const CCellText& other) {
        if (this != &other)
            Assign(other.c_str(), other.size());
        return *this;
    }

    // A null text is the empty text. Throws std::bad_alloc when a long text's block cannot be had; the text is
    // then left as it was.
    void Assign(const char* text);
    void Assign(const char* text, std::size_t length);
    void Clear() {
        Release();
        m_bytes[0] = '\0';
        SetInline(0);
    }

    const char* c_str() const { return IsInline() ? m_bytes : HeapText(); }
    std::size_t size() const { return IsInline() ? kInlineRoom - Tag() : HeapSize(); }
    bool empty() const { return IsInline() ? m_bytes[0] == '\0' : false; }
    // The first bytes of the text as this object holds them, without reading a block: all of a text kept inside,
    // the first three of one kept in a block. Sorting decides most comparisons on them.
    const char* Head(std::size_t* count) const {
        if (IsInline()) {
            *count = kInlineRoom - Tag();
            return m_bytes;
        }
        *count = kHeadBytes;
        return m_bytes + kHeadAt;
    }

private:
    // An inline text keeps 15 less its length in the last byte, which is thus the zero after a text of 15 bytes.
    // A text on the heap keeps the block's address in the first eight bytes, its length in the next four and its
    // first three bytes in the three after them, and marks the last byte with 0xFF.
    static constexpr std::size_t kInlineRoom = 15;
    static constexpr std::size_t kHeadAt = 12;
    static constexpr std::size_t kHeadBytes = 3;
    static constexpr unsigned char kOnHeap = 0xFF;

    unsigned char Tag() const { return static_cast<unsigned char>(m_bytes[kInlineRoom]); }
    bool IsInline() const { return Tag() != kOnHeap; }
    void SetInline(std::size_t length) {
        m_bytes[length] = '\0';
        m_bytes[kInlineRoom] = static_cast<char>(kInlineRoom - length);
    }
    char* HeapText() const;
    std::size_t HeapSize() const;
    void Release();

    alignas(8) char m_bytes[16];
};

static_assert(sizeof(CCellText) == 16, "a cell's text is two words");
