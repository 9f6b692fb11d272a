#include "CheckOpertion.h"

#include "MsgSegment.h"

#include <algorithm>

CCheckOpertion::CCheckOpertion(CMsgSegment* segment, int kind, int from, int to)
    : COperation(segment, kind), m_from(from), m_to(to) {}

int CCheckOpertion::Apply() {
    if (!m_segment)
        return 1;
    const BYTE* buf = nullptr;
    int len = 0;
    m_segment->GetMessageBuffer(buf, len);
    unsigned acc = 0;
    if (buf && m_from <= m_to && (m_kind == kOpCheckSum || m_kind == kOpCheckXor)) {
        int first = std::max(m_from, 0);
        int last = std::min(m_to, len - 1);
        for (int p = first; p <= last; ++p)
            acc = m_kind == kOpCheckSum ? (acc + buf[p]) & 0xFF : acc ^ buf[p];
    }
    m_segment->SetValue(static_cast<int>(acc));
    return 1;
}
