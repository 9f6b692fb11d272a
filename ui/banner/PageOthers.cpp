#include "PageOthers.h"

#include "FrameCtrl.h"
#include "ui/forms/ButtonSkins.h"
#include "ui/forms/DialogFields.h"
#include "ui/wall/CommandButton.h"

#include "core/FrameEffect.h"
#include "core/NotifyEvent.h"
#include "core/WallModel.h"
#include "platform/gui/controls/ComboBox.h"

namespace {

constexpr UINT kTemplate = 135;
constexpr int kFrameCheck = 1064;
constexpr int kHorizontalDec = 1061;
constexpr int kHorizontalInc = 1060;
constexpr int kVerticalDec = 1063;
constexpr int kVerticalInc = 1062;
constexpr int kHorizontalValue = 1068;
constexpr int kVerticalValue = 1069;
constexpr int kFrameButtons[] = {kVerticalDec, kVerticalInc, kHorizontalDec, kHorizontalInc};

constexpr const char* kHorizontalEvent = "O-HORIZONTAL-ADJUST";
constexpr const char* kVerticalEvent = "O-VERTICAL-ADJUST";

const CommandButton kCommands[] = {
    {1065, "O-GRAPHIC-ADJUST"}, {1082, "O-FACTROY_RESET"}, {1066, "O-FAN-ON"},
    {1067, "O-FAN-OFF"},        {1071, "O-PICTURE4"},      {1072, "O-PICTURE1"},
};

const CommandButton kSourceCombos[] = {
    {1151, "O-P1-SOURCE"},
    {1152, "O-P2-SOURCE"},
    {1153, "O-P3-SOURCE"},
    {1154, "O-P4-SOURCE"},
};

struct IconButton {
    int id;
    int icon;
};

const IconButton kFrameIcons[] = {
    {kHorizontalDec, 133}, {kHorizontalInc, 135}, {kVerticalInc, 136}, {kVerticalDec, 137}};
const int kTextButtons[] = {1065, 1066, 1067, 1082, 1071, 1072};

} // namespace

CPageOthers::CPageOthers(LcdGridCtrl* wallView) : CPropertyPage(kTemplate) {
    CWallModel* model = CWallModel::GetInstance();
    m_ctrl = std::make_unique<CFrameCtrl>(model, wallView);
    m_frameEffect = model->GetFrameEffect();
    model->Register(kHorizontalEvent, this, &CPageOthers::OnHorizontalChange);
    model->Register(kVerticalEvent, this, &CPageOthers::OnVerticalChange);

    OnCommandId(kHorizontalDec, [this]() { m_ctrl->HorizontalDec(); });
    OnCommandId(kHorizontalInc, [this]() { m_ctrl->HorizontalInc(); });
    OnCommandId(kVerticalDec, [this]() { m_ctrl->VerticalDec(); });
    OnCommandId(kVerticalInc, [this]() { m_ctrl->VerticalInc(); });
    OnCommandId(kFrameCheck, [this]() { OnUseFramework(); });
    for (const CommandButton& button : kCommands)
        OnCommandId(button.id, SendOnClick(m_ctrl.get(), button.command));
    for (const CommandButton& combo : kSourceCombos)
        OnControl(combo.id, CBN_SELCHANGE, [this, combo]() { OnSourceChange(combo.id, combo.command); });
}

// The wall model outlives every page.
CPageOthers::~CPageOthers() { CWallModel::GetInstance()->UnregisterAll(this); }

BOOL CPageOthers::OnInitDialog() {
    const BOOL result = CPropertyPage::OnInitDialog();
    for (const IconButton& button : kFrameIcons)
        SkinIconButton(this, button.id, button.icon);
    for (int id : kTextButtons)
        SkinTextButton(this, id);

    ShowFrameState();
    ShowValue(kHorizontalValue, true);
    ShowValue(kVerticalValue, false);
    // Shown without telling the wall: only the operator's choice sends.
    for (const CommandButton& combo : kSourceCombos)
        if (auto* box = dynamic_cast<CComboBox*>(GetDlgItem(combo.id)))
            box->SetCurSel(0);
    return result;
}

BOOL CPageOthers::IsFrameEnabled() const { return IsItemChecked(this, kFrameCheck) ? TRUE : FALSE; }

void CPageOthers::EnableFrameControls(BOOL enable) {
    if (!GetSafeHwnd())
        return;
    CheckDlgButton(kFrameCheck, enable ? BST_CHECKED : BST_UNCHECKED);
    for (int id : kFrameButtons)
        EnableItem(this, id, enable != FALSE);
}

void CPageOthers::ShowFrameState() {
    BOOL enabled = FALSE;
    BYTE horizontal = 0;
    BYTE vertical = 0;
    m_frameEffect->GetState(enabled, horizontal, vertical);
    EnableFrameControls(enabled);
}

void CPageOthers::OnUseFramework() {
    m_ctrl->EnableFrameEffect(IsFrameEnabled(), [this] { ShowFrameState(); });
}

void CPageOthers::OnHorizontalChange(NotifyEvent* event) {
    if (event && event->GetName() == kHorizontalEvent)
        ShowValue(kHorizontalValue, true);
}

void CPageOthers::OnVerticalChange(NotifyEvent* event) {
    if (event && event->GetName() == kVerticalEvent)
        ShowValue(kVerticalValue, false);
}

void CPageOthers::ShowValue(int id, bool horizontal) {
    // Before the page's window exists there is nothing to show; its set-up reads the values then.
    if (!GetSafeHwnd())
        return;
    BOOL enabled = FALSE;
    BYTE values[2] = {0, 0};
    m_frameEffect->GetState(enabled, values[0], values[1]);
    SetDlgItemText(id, Number(horizontal ? values[0] : values[1]));
}

void CPageOthers::OnSourceChange(int combo, const char* command) {
    m_ctrl->ExecuteWithValue(command, static_cast<BYTE>(ComboSelection(this, combo)));
}
