#include "MsgSegment.h"

#include <algorithm>
#include <cstring>

namespace {

// Four bytes are the least a scratch must hold: the integer state lives there.
constexpr int kMinScratchSize = 4;

} // namespace

CMsgSegment::CMsgSegment(CMessage* owner)
    : m_owner(owner), m_buf(nullptr), m_len(0), m_mode(kModeValue), m_capacity(0), m_tooLong(false) {}

CMsgSegment::~CMsgSegment() = default;

int CMsgSegment::Build(BYTE* buf, int& len) {
    if (!buf || len < kMinScratchSize) {
        len = 0;
        return 0;
    }
    m_buf = buf;
    m_len = len;
    m_capacity = len;
    m_mode = kModeValue;
    m_tooLong = false;
    std::memset(m_buf, 0, static_cast<size_t>(m_capacity));

    LoadInput();
    ApplyOperations();

    bool fits = !m_tooLong && m_len >= 0 && m_len <= m_capacity;
    len = !fits ? 0 : (m_mode == kModeValue ? 1 : m_len);
    m_buf = nullptr;
    return fits ? 1 : 0;
}

void CMsgSegment::AddOperation(std::unique_ptr<COperation> operation) {
    if (operation)
        m_operations.push_back(std::move(operation));
}

void CMsgSegment::GetMessageBuffer(const BYTE*& /*buf*/, int& /*len*/) const {}

void CMsgSegment::GetValue(int& /*value*/) const {}

void CMsgSegment::GetString(const char*& /*text*/, int& /*length*/) const {}

void CMsgSegment::SetBytes(const BYTE* bytes, int count) {
    if (!m_buf)
        return;
    int copied = std::clamp(count, 0, m_capacity);
    if (bytes && copied > 0)
        std::memcpy(m_buf, bytes, static_cast<size_t>(copied));
    if (count > m_capacity)
        m_tooLong = true;
    m_len = std::max(count, 0);
    m_mode = kModeBytes;
}

void CMsgSegment::SetString(const char* text, int length) {
    if (!m_buf)
        return;
    length = text ? std::max(length, 0) : 0;
    // At most the current byte count is taken, the rest of it zeroed; never more than the scratch.
    int room = std::clamp(m_len, 0, m_capacity);
    int copied = std::min(length, room);
    if (copied > 0)
        std::memcpy(m_buf, text, static_cast<size_t>(copied));
    std::memset(m_buf + copied, 0, static_cast<size_t>(room - copied));
    if (length > m_capacity)
        m_tooLong = true;
    m_len = length;
    m_mode = kModeText;
}

void CMsgSegment::SetValue(int value) {
    if (!m_buf)
        return;
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        m_buf[i] = static_cast<BYTE>(v >> (8 * i));
    m_len = 4;
    m_mode = kModeValue;
}

void CMsgSegment::LoadInput() {}

int CMsgSegment::ApplyOperations() {
    for (const std::unique_ptr<COperation>& op : m_operations)
        op->Apply();
    return 1;
}
