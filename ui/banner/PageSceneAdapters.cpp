// The scene controller's operations that take the page itself: each reads the page's scene name or slot and calls
// the form that takes values; the record button then shows whether the model records.
#include "PageScene.h"
#include "SceneCtrl.h"

int CSceneCtrl::LoadScene(CPageScene* page) { return LoadScene(page->GetSceneName()); }

int CSceneCtrl::ToggleRecording(CPageScene* page) {
    const int result = ToggleRecording();
    page->ShowRecording();
    return result;
}

int CSceneCtrl::RenameScene(CPageScene* page) { return RenameScene(page->GetSelectedScene(), page->GetSceneName()); }

int CSceneCtrl::SaveScene(CPageScene* page) { return SaveScene(page->GetSceneName()); }
