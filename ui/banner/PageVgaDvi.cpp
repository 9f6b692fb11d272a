#include "PageVgaDvi.h"

#include "ADCADJUST.h"
#include "WHITEBALANCE.h"
#include "ui/forms/ButtonSkins.h"
#include "ui/wall/CommandButton.h"

#include "core/WallModel.h"

namespace {

constexpr UINT kTemplate = 132;
constexpr int kDownIcon = 133;
constexpr int kUpIcon = 135;
constexpr int kAutoButton = 1044;
constexpr int kAdcButton = 1082;
constexpr int kColourButton = 1087;

const StepPair kSteps[] = {
    {1034, "VD-BRIGHTNESS-DOWN", 1035, "VD-BRIGHTNESS-UP"}, {1046, "VD-CONTRAST-DOWN", 1039, "VD-CONTRAST-UP"},
    {1053, "VD-HORIZONTAL-DOWN", 1054, "VD-HORIZONTAL-UP"}, {1055, "VD-VERTICAL-DOWN", 1056, "VD-VERTICAL-UP"},
    {1057, "VD-CLOCK-DOWN", 1058, "VD-CLOCK-UP"},
};

} // namespace

CPageVgaDvi::CPageVgaDvi(LcdGridCtrl* wallView)
    : CPropertyPage(kTemplate), m_wallView(wallView),
      m_ctrl(std::make_unique<CWallCtrl>(CWallModel::GetInstance(), wallView)) {
    for (const StepPair& step : kSteps) {
        OnCommandId(step.down, SendOnClick(m_ctrl.get(), step.downCommand));
        OnCommandId(step.up, SendOnClick(m_ctrl.get(), step.upCommand));
    }
    OnCommandId(kAutoButton, [this]() { m_ctrl->Execute("VD-AUTO-ADJUST", 0, TRUE); });
    OnCommandId(kAdcButton, [this]() { OnAdc(); });
    OnCommandId(kColourButton, [this]() { OnColorTemperature(); });
}

CPageVgaDvi::~CPageVgaDvi() = default;

BOOL CPageVgaDvi::OnInitDialog() {
    const BOOL result = CPropertyPage::OnInitDialog();
    for (const StepPair& step : kSteps)
        SkinIconButton(this, step.down, kDownIcon);
    for (const StepPair& step : kSteps)
        SkinIconButton(this, step.up, kUpIcon);
    for (int id : {kAutoButton, kAdcButton, kColourButton})
        SkinTextButton(this, id);
    return result;
}

// Both dialogs are owned by the main window, not by the page: the whole program waits while one is open.
void CPageVgaDvi::OnAdc() {
    ADCADJUST dialog(m_wallView);
    dialog.DoModal();
}

void CPageVgaDvi::OnColorTemperature() {
    WHITEBALANCE dialog(m_wallView);
    dialog.DoModal();
}
