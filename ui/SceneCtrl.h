#pragma once

#include "WallCtrl.h"

class CPageScene;
class CSceneModel;

// The scene page's controller: loads, records, renames and saves scenes, asking the operator where the scene
// model would drop unsaved matrix switches.
class CSceneCtrl : public CWallCtrl {
public:
    explicit CSceneCtrl(CWallModel* owner);

    int LoadScene(CPageScene* page);
    // Stops recording, or starts it; the page's button follows. 0, nothing shown.
    int ToggleRecording(CPageScene* page);
    int RenameScene(CPageScene* page);
    int SaveScene(CPageScene* page);

private:
    CSceneModel* m_sceneModel;
};
