#include "SceneCtrl.h"

#include "core/ErrorMessage.h"
#include "core/SceneModel.h"
#include "core/WallModel.h"
#include "platform/gui/window/WaitCursor.h"
#include "platform/os/Gbk.h"
#include "platform/os/MessageBox.h"

namespace {

constexpr UINT kQuestion = MB_OKCANCEL | MB_ICONQUESTION;

} // namespace

CSceneCtrl::CSceneCtrl(CWallModel* owner, LcdGridCtrl* wallView)
    : CWallCtrl(owner, wallView), m_sceneModel(CWallModel::GetInstance()->GetSceneModel()) {}

int CSceneCtrl::LoadScene(const CString& name) {
    if (m_sceneModel->IsRecording()) {
        AfxMessageBox("Please stop recording matrix before loading!", MB_OK);
        return kResultFailed;
    }
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

int CSceneCtrl::ToggleRecording() {
    if (m_sceneModel->IsRecording()) {
        m_sceneModel->StopRecording();
        return kResultOk;
    }
    if (m_sceneModel->StartRecording(FALSE) == kResultScenePending &&
        AfxMessageBox(Utf8ToGbkLiteral("尚有矩阵命令未保存，是否继续录制 ?"), kQuestion) == IDOK)
        m_sceneModel->StartRecording(TRUE);
    return kResultOk;
}

int CSceneCtrl::RenameScene(int slot, const CString& name) {
    return ShowErrorMessage(m_sceneModel->RenameScene(slot, name), "");
}

int CSceneCtrl::SaveScene(const CString& name) {
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
    return ShowErrorMessage(m_sceneModel->SaveScene(name, area), "");
}
