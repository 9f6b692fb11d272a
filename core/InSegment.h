#pragma once

#include "MsgSegment.h"

// The switch's input (IN, LOWIN, HIGHIN alike), after its operations.
class CInSegment : public CMsgSegment {
public:
    // text: the element's tag, which the matrix page shows as the segment's layout.
    CInSegment(CMessage* owner, const std::string& text);

    std::string GetText() const override;
    void GetValue(int& value) const override;
    void LoadInput() override;

protected:
    std::string m_text;
};
