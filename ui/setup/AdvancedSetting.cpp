#include "AdvancedSetting.h"

#include "ui/forms/ButtonSkins.h"
#include "ui/wall/CommandButton.h"

#include "core/WallModel.h"

namespace {

constexpr UINT kTemplate = 167;
constexpr int kTemperatureCombo = 1105;
constexpr int kSetButton = 1147;
// The combo's entries 20, 25 ... 50 degrees, in its order.
const char* const kSetPoints[] = {"AD_TEMP_SET_20", "AD_TEMP_SET_25", "AD_TEMP_SET_30", "AD_TEMP_SET_35",
                                  "AD_TEMP_SET_40", "AD_TEMP_SET_45", "AD_TEMP_SET_50"};
constexpr int kInitialSetPoint = 2;

const CommandButton kCommands[] = {
    {1082, "AD_LIGHT_ON"},
    {1087, "AD_LIGHT_OFF"},
    {1145, "AD_TEMP_ON"},
    {1146, "AD_TEMP_OFF"},
};

} // namespace

AdvancedSetting::AdvancedSetting(LcdGridCtrl* wallView, CWnd* pParent)
    : CDialog(kTemplate, pParent), m_ctrl(std::make_unique<CWallCtrl>(CWallModel::GetInstance(), wallView)) {
    for (const CommandButton& button : kCommands)
        OnCommandId(button.id, SendOnClick(m_ctrl.get(), button.command));
    OnCommandId(kSetButton, [this]() { OnSetTemperature(); });
}

AdvancedSetting::~AdvancedSetting() = default;

void AdvancedSetting::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kTemperatureCombo, m_temperature);
}

BOOL AdvancedSetting::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    m_temperature.SetCurSel(kInitialSetPoint);
    for (int id : {1082, 1087, 1145, 1146, kSetButton})
        SkinTextButton(this, id);
    return result;
}

void AdvancedSetting::OnSetTemperature() {
    const int index = m_temperature.GetCurSel();
    if (index < 0 || index >= static_cast<int>(sizeof kSetPoints / sizeof kSetPoints[0]))
        return;
    m_ctrl->Execute(kSetPoints[index], 0, TRUE);
}
