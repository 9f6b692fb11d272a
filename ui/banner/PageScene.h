#pragma once

#include "platform/gui/dialogs/PropertyPage.h"

#include <memory>

class CSceneCtrl;
class CSceneModel;
class LcdGridCtrl;
class NotifyEvent;

// The page "Scene": the twenty scene names in an editable list, and the buttons that record matrix switches and
// save, load and rename scenes. The list's text is the scene name the buttons work on.
class CPageScene : public CPropertyPage {
public:
    // Scenes are saved for the selection of the wall view.
    explicit CPageScene(LcdGridCtrl* wallView);
    ~CPageScene() override;

    // The combo box's text, typed or chosen.
    CString GetSceneName() const;
    // The 0-based scene slot last chosen in the combo box; -1 before the page was set up.
    int GetSelectedScene() const { return m_selectedScene; }
    void ShowRecord();
    void ShowStop();
    // "Stop" while the scene model records, "Record" otherwise.
    void ShowRecording();

    BOOL OnInitDialog() override;
    // "SceneNameChange": the names are listed again with the same slot chosen.
    void OnSceneNameChange(NotifyEvent* event);

protected:
    void RefillScenes();

private:
    std::unique_ptr<CSceneCtrl> m_ctrl;
    CSceneModel* m_sceneModel;
    int m_selectedScene;
};
