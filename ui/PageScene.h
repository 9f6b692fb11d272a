#pragma once

#include "platform/gui/PropertyPage.h"

// The page "Scene": the scene combo and the record button. What its controller reads of it and sets on it.
class CPageScene : public CPropertyPage {
public:
    CPageScene();
    ~CPageScene() override;

    // The combo box's text, typed or chosen.
    CString GetSceneName() const;
    // The 0-based scene slot last chosen in the combo box; -1 before the page was set up.
    int GetSelectedScene() const { return m_selectedScene; }
    void ShowRecord();
    void ShowStop();

protected:
    int m_selectedScene = -1;
};
