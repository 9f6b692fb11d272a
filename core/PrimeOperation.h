#pragma once

#include "Operation.h"

// Arithmetic on the segment's value: plus, div, mod or and, with a fixed operand.
class CPrimeOperation : public COperation {
public:
    CPrimeOperation(CMsgSegment* segment, int kind, int operand);

    // Division and remainder by 0, or of the most negative value by -1, leave the value as it is.
    int Apply() override;

private:
    int m_operand;
};
