#include "SharedFile.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "RuntimeClass.h"

IMPLEMENT_DYNAMIC(CSharedFile, CObject)

CSharedFile::CSharedFile(UINT allocFlags, UINT growBytes)
    : m_allocFlags(allocFlags), m_growBytes(growBytes ? growBytes : 1) {}

CSharedFile::~CSharedFile() { Release(); }

void CSharedFile::Release() {
    if (m_mem)
        GlobalFree(m_mem);
    m_mem = nullptr;
    m_length = m_position = 0;
}

void CSharedFile::Write(const void* data, UINT count) {
    if (count == 0)
        return;
    const size_t end = m_position + count;
    if (end > GlobalSize(m_mem)) {
        if (!m_allowGrow)
            throw std::bad_alloc();
        const size_t capacity = (end + m_growBytes - 1) / m_growBytes * m_growBytes;
        HGLOBAL grown = m_mem ? GlobalReAlloc(m_mem, capacity, m_allocFlags) : GlobalAlloc(m_allocFlags, capacity);
        if (!grown)
            throw std::bad_alloc();
        m_mem = grown;
    }
    char* bytes = static_cast<char*>(GlobalLock(m_mem));
    std::memcpy(bytes + m_position, data, count);
    GlobalUnlock(m_mem);
    m_position = end;
    if (end > m_length)
        m_length = end;
}

UINT CSharedFile::Read(void* data, UINT count) {
    if (m_position >= m_length || count == 0)
        return 0;
    const size_t n = std::min<size_t>(count, m_length - m_position);
    const char* bytes = static_cast<const char*>(GlobalLock(m_mem));
    std::memcpy(data, bytes + m_position, n);
    GlobalUnlock(m_mem);
    m_position += n;
    return static_cast<UINT>(n);
}

HGLOBAL CSharedFile::Detach() {
    HGLOBAL mem = m_mem;
    m_mem = nullptr;
    m_length = m_position = 0;
    return mem;
}

void CSharedFile::SetHandle(HGLOBAL mem, BOOL allowGrow) {
    Release();
    m_mem = mem;
    m_length = GlobalSize(mem);
    m_allowGrow = allowGrow != FALSE;
}
