#pragma once

#include "InSegment.h"

// A checksum byte over earlier bytes of the message (CHKPLUS, CHKXOR).
class CVerifySegment : public CInSegment {
public:
    CVerifySegment(CMessage* owner, const std::string& text);

    // The message buffer and the number of bytes this build has placed in it before this segment: only those
    // belong to the message being built, the rest is left over from an earlier one.
    void GetMessageBuffer(const BYTE*& buf, int& len) const override;
    // The value comes from the checksum, not from an input.
    void LoadInput() override;
};
