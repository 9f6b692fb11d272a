#include "PrimeOperation.h"

#include "MsgSegment.h"

#include <climits>
#include <cstdint>

CPrimeOperation::CPrimeOperation(CMsgSegment* segment, int kind, int operand)
    : COperation(segment, kind), m_operand(operand) {}

int CPrimeOperation::Apply() {
    if (!m_segment)
        return 1;
    int v = 0;
    m_segment->GetValue(v);
    bool undefined = m_operand == 0 || (v == INT_MIN && m_operand == -1);
    switch (m_kind) {
    case kOpPlus: v = static_cast<int>(static_cast<uint32_t>(v) + static_cast<uint32_t>(m_operand)); break;
    case kOpDiv:
        if (!undefined)
            v /= m_operand;
        break;
    case kOpMod:
        if (!undefined)
            v %= m_operand;
        break;
    case kOpAnd: v &= m_operand; break;
    default: break;
    }
    m_segment->SetValue(v);
    return 1;
}
