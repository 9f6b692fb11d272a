#include "Message.h"

#include <cstring>

CMessage::CMessage(const std::string& name)
    : m_name(name), m_lowIn(0), m_highIn(0), m_out(nullptr), m_outLen(0), m_built(0), m_followupDelay(0) {}

CMessage::~CMessage() = default;

void CMessage::AddSegment(std::unique_ptr<CMsgSegment> segment) {
    if (segment)
        m_segments.push_back(std::move(segment));
}

void CMessage::SetFollowup(const std::string& item, int delay) {
    m_followupItem = item;
    m_followupDelay = delay;
}

int CMessage::Build(int lowIn, int highIn, BYTE* out, int& len) {
    if (!out || len <= 0)
        return -1;
    m_lowIn = lowIn;
    m_highIn = highIn;
    m_out = out;
    m_outLen = len;
    m_built = 0;
    int offset = 0;
    for (const std::unique_ptr<CMsgSegment>& segment : m_segments) {
        BYTE scratch[kSegmentScratchSize] = {};
        int slen = kSegmentScratchSize;
        // Half a message is never sent: a part that does not fit fails the whole build.
        if (!segment->Build(scratch, slen) || slen > len - offset) {
            m_built = 0;
            return -1;
        }
        std::memcpy(out + offset, scratch, static_cast<size_t>(slen));
        offset += slen;
        m_built = offset;
    }
    len = offset;
    return 0;
}

std::string CMessage::Format() const {
    std::string text;
    for (size_t i = 0; i < m_segments.size(); ++i) {
        if (i > 0)
            text += '-';
        text += m_segments[i]->GetText();
    }
    return text;
}
