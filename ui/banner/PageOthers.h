#pragma once

#include "skin/ButtonXP.h"

#include "platform/gui/dialogs/PropertyPage.h"

#include <memory>

class CFrameCtrl;
class CFrameEffect;
class LcdGridCtrl;
class NotifyEvent;

// The page "Other": the frame effect's switch and steps with the values shown, the factory adjustment and reset,
// the fan, multi-picture or single-picture mode and the sources of the four sub-pictures. Follows the frame
// effect's events from its construction on.
class CPageOthers : public CPropertyPage {
public:
    // The frame steps and the commands go to the selection of the wall view.
    explicit CPageOthers(LcdGridCtrl* wallView);
    ~CPageOthers() override;

    BOOL OnInitDialog() override;

    BOOL IsFrameEnabled() const;
    // Sets the switch and enables the four step buttons with it.
    void EnableFrameControls(BOOL enable);
    // The switch and the step buttons as the frame effect has them stored.
    void ShowFrameState();
    // "Use Framework": switches the effect, then shows the state that was stored, whatever the switch gave, and
    // only then the result.
    void OnUseFramework();
    // Show the new value after a successful step.
    void OnHorizontalChange(NotifyEvent* event);
    void OnVerticalChange(NotifyEvent* event);

private:
    void OnSourceChange(int combo, const char* command);
    void ShowValue(int id, bool horizontal);

    std::unique_ptr<CFrameCtrl> m_ctrl;
    CFrameEffect* m_frameEffect;
    // Made with the page and never attached to a control.
    CButtonXP m_buttonXP;
};
