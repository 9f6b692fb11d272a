#include "InSegment.h"

#include "Message.h"

CInSegment::CInSegment(CMessage* owner, const std::string& text) : CMsgSegment(owner), m_text(text) {}

std::string CInSegment::GetText() const { return m_text; }

void CInSegment::GetValue(int& value) const {
    if (!m_buf)
        return;
    if (m_mode == kModeValue) {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<uint32_t>(m_buf[i]) << (8 * i);
        value = static_cast<int>(v);
    } else if (m_mode == kModeBytes) {
        value = static_cast<signed char>(m_buf[0]);
    }
    // Text has no value: the destination stays as it was.
}

void CInSegment::LoadInput() {
    if (m_owner)
        SetValue(m_owner->GetLowIn());
}
