#pragma once

#include "InSegment.h"

// The switch's output, after its operations.
class COutSegment : public CInSegment {
public:
    COutSegment(CMessage* owner, const std::string& text);

    void LoadInput() override;
};
