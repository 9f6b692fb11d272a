#pragma once

#include "Operation.h"

// A checksum over the message's bytes at positions from..to (0-based, inclusive): an 8-bit sum or an XOR.
class CCheckOpertion : public COperation {
public:
    CCheckOpertion(CMsgSegment* segment, int kind, int from, int to);

    // Positions outside what this build has made so far add nothing.
    int Apply() override;

private:
    int m_from;
    int m_to;
};
