#include "CellPool.h"

#include <algorithm>
#include <new>

namespace {

constexpr std::size_t kAlign = alignof(std::max_align_t);

std::size_t RoundUp(std::size_t n) { return (n + kAlign - 1) / kAlign * kAlign; }

} // namespace

CCellPool::CCellPool(std::size_t blockSize, std::size_t blocksPerChunk)
    : m_blockSize(RoundUp(std::max(blockSize, sizeof(FreeBlock)))),
      m_chunkBytes(m_blockSize * std::max<std::size_t>(blocksPerChunk, 1)) {}

CCellPool::~CCellPool() {
    for (char* chunk : m_chunks)
        ::operator delete(chunk);
}

void* CCellPool::Allocate() {
    if (m_free) {
        FreeBlock* block = m_free;
        m_free = block->next;
        ++m_inUse;
        return block;
    }
    if (m_next == m_end) {
        // Room for the chunk first, so that storing it below cannot fail and leak it; the list doubles, so a
        // pool of n chunks copies it O(n) times over rather than once per chunk.
        if (m_chunks.size() == m_chunks.capacity())
            m_chunks.reserve(std::max<std::size_t>(16, m_chunks.capacity() * 2));
        char* chunk = static_cast<char*>(::operator new(m_chunkBytes));
        m_chunks.push_back(chunk);
        m_next = chunk;
        m_end = chunk + m_chunkBytes;
    }
    void* block = m_next;
    m_next += m_blockSize;
    ++m_inUse;
    return block;
}

void CCellPool::Free(void* block) noexcept {
    if (!block)
        return;
    auto* freed = static_cast<FreeBlock*>(block);
    freed->next = m_free;
    m_free = freed;
    if (--m_inUse == 0)
        ReleaseChunks();
}

void CCellPool::ReleaseChunks() noexcept {
    for (char* chunk : m_chunks)
        ::operator delete(chunk);
    m_chunks.clear();
    m_chunks.shrink_to_fit();
    m_free = nullptr;
    m_next = m_end = nullptr;
}
