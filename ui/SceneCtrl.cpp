#include "SceneCtrl.h"

#include "LcdGridCtrl.h"
#include "PageScene.h"

#include "core/ErrorMessage.h"
#include "core/SceneModel.h"
#include "core/WallModel.h"
#include "platform/gui/window/WaitCursor.h"
#include "platform/os/Gbk.h"
#include "platform/os/MessageBox.h"

namespace {

constexpr UINT kQuestion = MB_OKCANCEL | MB_ICONQUESTION;

} // namespace

CSceneCtrl::CSceneCtrl(CWallModel* owner)
    : CWallCtrl(owner), m_sceneModel(CWallModel::GetInstance()->GetSceneModel()) {}

int CSceneCtrl::LoadScene(CPageScene* page) {
    if (m_sceneModel->IsRecording()) {
        AfxMessageBox("Please stop recording matrix before loading!", MB_OK);
        return kResultFailed;
    }
    const CString name = page->GetSceneName();
    int result = kResultOk;
    {
        CWaitCursor wait;
        result = m_sceneModel->LoadScene(name, FALSE);
    }
    if (result == kResultScenePending) {
        result = kResultOk;
        if (AfxMessageBox("The matrix command list is not empty,are you sure to clear it and load?", kQuestion) ==
            IDOK) {
            CWaitCursor wait;
            result = m_sceneModel->LoadScene(name, TRUE);
        }
    }
    return ShowErrorMessage(result, "");
}

int CSceneCtrl::ToggleRecording(CPageScene* page) {
    if (m_sceneModel->IsRecording()) {
        m_sceneModel->StopRecording();
        page->ShowRecord();
        return kResultOk;
    }
    const int result = m_sceneModel->StartRecording(FALSE);
    if (result == kResultScenePending) {
        if (AfxMessageBox(Utf8ToGbkLiteral("尚有矩阵命令未保存，是否继续录制 ?"), kQuestion) == IDOK) {
            m_sceneModel->StartRecording(TRUE);
            page->ShowStop();
        }
    } else if (result == kResultOk) {
        page->ShowStop();
    }
    return kResultOk;
}

int CSceneCtrl::RenameScene(CPageScene* page) {
    return ShowErrorMessage(m_sceneModel->RenameScene(page->GetSelectedScene(), page->GetSceneName()), "");
}

int CSceneCtrl::SaveScene(CPageScene* page) {
    RECT area;
    if (!SelectionArea(area))
        return ShowErrorMessage(kResultNoUnit, "");
    if (m_sceneModel->IsRecording()) {
        AfxMessageBox("Please stop record matrix,then save it", MB_OK);
        return kResultFailed;
    }
    if (m_sceneModel->GetRecordsBegin() == m_sceneModel->GetRecordsEnd() &&
        AfxMessageBox(
            "he matrix record list is empty,if save it will clear the choosed\n matrix Command , are you sure "
            "for saving?",
            kQuestion) != IDOK)
        return kResultOk;
    return ShowErrorMessage(m_sceneModel->SaveScene(page->GetSceneName(), area), "");
}
