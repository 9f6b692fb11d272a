#include "VerifySegment.h"

#include "Message.h"

CVerifySegment::CVerifySegment(CMessage* owner, const std::string& text) : CInSegment(owner, text) {}

void CVerifySegment::GetMessageBuffer(const BYTE*& buf, int& len) const {
    if (!m_owner)
        return;
    buf = m_owner->GetOut();
    len = m_owner->GetBuiltLength();
}

void CVerifySegment::LoadInput() {}
