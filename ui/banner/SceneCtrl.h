#pragma once

#include "ui/wall/WallCtrl.h"

class CPageScene;
class CSceneModel;

// The scene page's controller: loads, records, renames and saves scenes, asking the operator where the scene
// model would drop unsaved matrix switches.
class CSceneCtrl : public CWallCtrl {
public:
    CSceneCtrl(CWallModel* owner, LcdGridCtrl* wallView);

    int LoadScene(const CString& name);
    // Stops recording, or starts it. 0, nothing shown.
    int ToggleRecording();
    // Gives the scene in the 0-based slot the name.
    int RenameScene(int slot, const CString& name);
    // The scene of that name takes the selected units' matrix switches recorded so far.
    int SaveScene(const CString& name);

    // The same, reading the page's scene name and slot; the page's record button follows the recording.
    int LoadScene(CPageScene* page);
    int ToggleRecording(CPageScene* page);
    int RenameScene(CPageScene* page);
    int SaveScene(CPageScene* page);

private:
    CSceneModel* m_sceneModel;
};
