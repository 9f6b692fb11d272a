#include "CellText.h"

#include "grid/CellPool.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

namespace {

#if defined(__SANITIZE_ADDRESS__)
// Under the address sanitizer every text is its own allocation, so overruns are caught where they happen.
constexpr bool kPoolTexts = false;
#else
constexpr bool kPoolTexts = true;
#endif

// Texts of 16 to 31 bytes (a description rather than a name) share blocks of 32 bytes, carved from large chunks
// as cells are: no allocator call and no allocator overhead for each. Longer ones get blocks of their own.
constexpr std::size_t kPooledBytes = 32;

CCellPool& TextPool() {
    static CCellPool* pool = new CCellPool(kPooledBytes, 2048); // never freed: texts may outlive static objects
    return *pool;
}

char* NewBlock(std::size_t bytes) {
    if (kPoolTexts && bytes <= kPooledBytes)
        return static_cast<char*>(TextPool().Allocate());
    return new char[bytes];
}

void FreeBlock(char* block, std::size_t bytes) {
    if (kPoolTexts && bytes <= kPooledBytes)
        TextPool().Free(block);
    else
        delete[] block;
}

} // namespace

void CCellText::Assign(const char* text) { Assign(text, text ? std::strlen(text) : 0); }

void CCellText::Assign(const char* text, std::size_t length) {
    if (!text)
        length = 0;
    if (length <= kInlineRoom) {
        // The text may lie in this object or in its block: the block goes only once the text is copied.
        const std::size_t oldSize = size();
        char* block = IsInline() ? nullptr : HeapText();
        if (length)
            std::memmove(m_bytes, text, length);
        SetInline(length);
        if (block)
            FreeBlock(block, oldSize + 1);
        return;
    }
    if (length > std::numeric_limits<std::uint32_t>::max())
        throw std::bad_alloc();
    char* block = NewBlock(length + 1);
    std::memcpy(block, text, length);
    block[length] = '\0';
    Release();
    const auto size = static_cast<std::uint32_t>(length);
    std::memcpy(m_bytes, &block, sizeof block);
    std::memcpy(m_bytes + sizeof block, &size, sizeof size);
    std::memcpy(m_bytes + kHeadAt, block, kHeadBytes);
    m_bytes[kInlineRoom] = static_cast<char>(kOnHeap);
}

std::size_t CCellText::HeapSize() const {
    std::uint32_t length = 0;
    std::memcpy(&length, m_bytes + sizeof(char*), sizeof length);
    return length;
}

char* CCellText::HeapText() const {
    char* block = nullptr;
    std::memcpy(&block, m_bytes, sizeof block);
    return block;
}

void CCellText::Release() {
    if (!IsInline())
        FreeBlock(HeapText(), size() + 1);
    SetInline(0);
}
