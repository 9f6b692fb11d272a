#include "OutSegment.h"

#include "Message.h"

COutSegment::COutSegment(CMessage* owner, const std::string& text) : CInSegment(owner, text) {}

void COutSegment::LoadInput() {
    if (m_owner)
        SetValue(m_owner->GetHighIn());
}
