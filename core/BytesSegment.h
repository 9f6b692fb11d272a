#pragma once

#include "MsgSegment.h"

// A constant: the element's text, turned into bytes by its conversion (none gives one byte 0x00).
class CBytesSegment : public CMsgSegment {
public:
    CBytesSegment(CMessage* owner, const std::string& text);

    std::string GetText() const override;
    void GetString(const char*& text, int& length) const override;

private:
    std::string m_text;
};
