#pragma once

#include <cstddef>
#include <vector>

// Blocks of one size carved from large chunks, for objects made by the hundred thousand: no allocator call and
// no allocator overhead per block. Freed blocks are reused; the chunks go back once no block is in use. Cells
// live on the user-interface thread, so the pool takes no lock.
class CCellPool {
public:
    explicit CCellPool(std::size_t blockSize, std::size_t blocksPerChunk = 1024);
    ~CCellPool();
    CCellPool(const CCellPool&) = delete;
    CCellPool& operator=(const CCellPool&) = delete;

    // Throws std::bad_alloc when a new chunk cannot be had.
    void* Allocate();
    void Free(void* block) noexcept;

    std::size_t BlockSize() const { return m_blockSize; }
    std::size_t BlocksInUse() const { return m_inUse; }
    std::size_t ChunkCount() const { return m_chunks.size(); }

private:
    struct FreeBlock {
        FreeBlock* next;
    };
    void ReleaseChunks() noexcept;

    std::size_t m_blockSize;
    std::size_t m_chunkBytes;
    std::vector<char*> m_chunks;
    FreeBlock* m_free = nullptr;
    char* m_next = nullptr; // the untouched rest of the newest chunk
    char* m_end = nullptr;
    std::size_t m_inUse = 0;
};
