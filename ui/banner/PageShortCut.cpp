#include "PageShortCut.h"

#include "ui/forms/ButtonSkins.h"
#include "ui/wall/CommandButton.h"

#include "core/WallModel.h"

namespace {

constexpr UINT kTemplate = 105;
constexpr int kDownIcon = 133;
constexpr int kUpIcon = 135;

const StepPair kSteps[] = {
    {1034, "VSY-BRIGHTNESS-DOWN", 1035, "VSY-BRIGHTNESS-UP"}, {1046, "VSY-CONTRAST-DOWN", 1039, "VSY-CONTRAST-UP"},
    {1047, "VSY-SATURATION-DOWN", 1049, "VSY-SATURATION-UP"}, {1048, "VSY-SHARPNESS-DOWN", 1050, "VSY-SHARPNESS-UP"},
    {1051, "VSY-DENOISE-DOWN", 1052, "VSY-DENOISE-UP"},
};

} // namespace

CPageShortCut::CPageShortCut(LcdGridCtrl* wallView)
    : CPropertyPage(kTemplate), m_ctrl(std::make_unique<CWallCtrl>(CWallModel::GetInstance(), wallView)) {
    for (const StepPair& step : kSteps) {
        OnCommandId(step.down, SendOnClick(m_ctrl.get(), step.downCommand));
        OnCommandId(step.up, SendOnClick(m_ctrl.get(), step.upCommand));
    }
}

CPageShortCut::~CPageShortCut() = default;

BOOL CPageShortCut::OnInitDialog() {
    const BOOL result = CPropertyPage::OnInitDialog();
    for (const StepPair& step : kSteps)
        SkinIconButton(this, step.down, kDownIcon);
    for (const StepPair& step : kSteps)
        SkinIconButton(this, step.up, kUpIcon);
    return result;
}
