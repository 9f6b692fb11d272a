#include "GlobalMemory.h"

#include <memory>
#include <new>
#include <set>
#include <vector>

namespace {

struct Block {
    std::vector<char> bytes;
    UINT flags = 0;
    UINT locks = 0;
};

std::set<Block*>& LiveBlocks() {
    static auto* blocks = new std::set<Block*>;
    return *blocks;
}

Block* Live(HGLOBAL mem) {
    auto* block = static_cast<Block*>(mem);
    return LiveBlocks().count(block) ? block : nullptr;
}

} // namespace

HGLOBAL GlobalAlloc(UINT flags, size_t bytes) {
    try {
        auto block = std::make_unique<Block>();
        block->bytes.assign(bytes, 0);
        block->flags = flags & ~GMEM_MODIFY;
        LiveBlocks().insert(block.get());
        return block.release();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

HGLOBAL GlobalReAlloc(HGLOBAL mem, size_t bytes, UINT flags) {
    Block* block = Live(mem);
    if (!block)
        return nullptr;
    if (flags & GMEM_MODIFY) {
        block->flags = flags & ~GMEM_MODIFY;
        return mem;
    }
    try {
        block->bytes.resize(bytes, 0);
        if (bytes < block->bytes.capacity() / 2)
            block->bytes.shrink_to_fit();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return mem;
}

void* GlobalLock(HGLOBAL mem) {
    Block* block = Live(mem);
    if (!block || block->bytes.empty())
        return nullptr;
    ++block->locks;
    return block->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL mem) {
    Block* block = Live(mem);
    if (!block || block->locks == 0)
        return FALSE;
    return --block->locks > 0 ? TRUE : FALSE;
}

size_t GlobalSize(HGLOBAL mem) {
    Block* block = Live(mem);
    return block ? block->bytes.size() : 0;
}

UINT GlobalFlags(HGLOBAL mem) {
    Block* block = Live(mem);
    return block ? block->flags : 0;
}

HGLOBAL GlobalFree(HGLOBAL mem) {
    Block* block = Live(mem);
    if (!block)
        return mem;
    LiveBlocks().erase(block);
    delete block;
    return nullptr;
}
