#include "PageScene.h"

#include "SceneCtrl.h"
#include "ui/forms/ButtonSkins.h"
#include "ui/forms/DialogFields.h"

#include "core/NotifyEvent.h"
#include "core/SceneModel.h"
#include "core/WallModel.h"
#include "platform/gui/controls/ComboBox.h"

namespace {

constexpr UINT kTemplate = 144;
constexpr int kSceneCombo = 1072;
constexpr int kSaveButton = 1069;
constexpr int kLoadButton = 1070;
constexpr int kRenameButton = 1071;
constexpr int kRecordButton = 1082;

constexpr const char* kSceneNameChange = "SceneNameChange";

} // namespace

CPageScene::CPageScene(LcdGridCtrl* wallView)
    : CPropertyPage(kTemplate), m_ctrl(std::make_unique<CSceneCtrl>(CWallModel::GetInstance(), wallView)),
      m_sceneModel(CWallModel::GetInstance()->GetSceneModel()), m_selectedScene(-1) {
    m_sceneModel->Register(kSceneNameChange, this, &CPageScene::OnSceneNameChange);
    OnCommandId(kSaveButton, [this] { m_ctrl->SaveScene(GetSceneName()); });
    OnCommandId(kLoadButton, [this] { m_ctrl->LoadScene(GetSceneName()); });
    OnCommandId(kRenameButton, [this] { m_ctrl->RenameScene(m_selectedScene, GetSceneName()); });
    OnCommandId(kRecordButton, [this] {
        m_ctrl->ToggleRecording();
        ShowRecording();
    });
    OnControl(kSceneCombo, CBN_SELCHANGE, [this] { m_selectedScene = ComboSelection(this, kSceneCombo); });
}

CPageScene::~CPageScene() { m_sceneModel->Unregister(kSceneNameChange, this); }

CString CPageScene::GetSceneName() const { return ItemText(this, kSceneCombo); }
void CPageScene::ShowRecord() { SetDlgItemText(kRecordButton, "Record"); }
void CPageScene::ShowStop() { SetDlgItemText(kRecordButton, "Stop"); }
void CPageScene::ShowRecording() { m_sceneModel->IsRecording() ? ShowStop() : ShowRecord(); }

BOOL CPageScene::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    RefillScenes();
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(kSceneCombo)))
        combo->SetCurSel(0);
    m_selectedScene = 0;
    for (int id : {kSaveButton, kLoadButton, kRenameButton, kRecordButton})
        SkinTextButton(this, id);
    return TRUE;
}

void CPageScene::RefillScenes() {
    auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(kSceneCombo));
    if (!combo)
        return;
    combo->ResetContent();
    for (int id = 1; id <= m_sceneModel->GetMaxScenes(); ++id)
        combo->AddString(m_sceneModel->GetSceneName(id).c_str());
}

void CPageScene::OnSceneNameChange(NotifyEvent* event) {
    // A rename made while the page has no window yet is listed when the page is set up.
    if (!event || event->GetName() != kSceneNameChange || !GetSafeHwnd())
        return;
    RefillScenes();
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(kSceneCombo)))
        combo->SetCurSel(m_selectedScene);
    Invalidate();
}
