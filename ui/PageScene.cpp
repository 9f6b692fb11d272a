#include "PageScene.h"

#include "DialogFields.h"

namespace {

constexpr UINT kTemplate = 144;
constexpr int kSceneCombo = 1072;
constexpr int kRecordButton = 1082;

} // namespace

CPageScene::CPageScene() : CPropertyPage(kTemplate) {}
CPageScene::~CPageScene() = default;

CString CPageScene::GetSceneName() const { return ItemText(this, kSceneCombo); }
void CPageScene::ShowRecord() { SetDlgItemText(kRecordButton, "Record"); }
void CPageScene::ShowStop() { SetDlgItemText(kRecordButton, "Stop"); }
