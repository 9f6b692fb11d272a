#pragma once

#include "GlobalMemory.h"
#include "Object.h"
#include "Types.h"

#include <cstddef>

// A file in a movable memory block: written into, then detached as a block for the clipboard or a drag, or
// set over a block to read one. The block grows in steps of the grow size, so a detached block may be larger
// than what was written.
class CSharedFile : public CObject {
    DECLARE_DYNAMIC(CSharedFile)
public:
    explicit CSharedFile(UINT allocFlags = GMEM_DDESHARE | GMEM_MOVEABLE, UINT growBytes = 4096);
    ~CSharedFile() override;

    // Throws std::bad_alloc when the block cannot grow, as the framework's file throws its memory exception.
    void Write(const void* data, UINT count);
    UINT Read(void* data, UINT count);
    size_t GetLength() const { return m_length; }
    size_t GetPosition() const { return m_position; }
    void SeekToBegin() { m_position = 0; }

    // The block now belongs to the caller; the file is empty afterwards.
    HGLOBAL Detach();
    // Reads (and, when allowGrow, writes) an existing block, which the file then owns.
    void SetHandle(HGLOBAL mem, BOOL allowGrow = TRUE);

private:
    void Release();

    UINT m_allocFlags;
    UINT m_growBytes;
    HGLOBAL m_mem = nullptr;
    size_t m_length = 0;
    size_t m_position = 0;
    bool m_allowGrow = true;
};
