#pragma once

#include "platform/gui/PropertyPage.h"

// The page "Other": the frame-effect switch and its four step buttons. What its controller reads and sets.
class CPageOthers : public CPropertyPage {
public:
    CPageOthers();
    ~CPageOthers() override;

    BOOL IsFrameEnabled() const;
    // Sets the switch and enables the four step buttons with it.
    void EnableFrameControls(BOOL enable);
};
