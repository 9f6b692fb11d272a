#include "BytesSegment.h"

CBytesSegment::CBytesSegment(CMessage* owner, const std::string& text) : CMsgSegment(owner), m_text(text) {}

std::string CBytesSegment::GetText() const { return m_text; }

void CBytesSegment::GetString(const char*& text, int& length) const {
    text = m_text.data();
    length = static_cast<int>(m_text.size());
}
