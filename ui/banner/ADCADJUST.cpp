#include "ADCADJUST.h"

#include "ui/wall/CommandButton.h"

#include "core/WallModel.h"

namespace {

constexpr UINT kTemplate = 165;

const CommandButton kCommands[] = {
    {1082, "ADC-OFFSET-R-DEC"}, {1087, "ADC-OFFSET-R-INC"}, {1135, "ADC-OFFSET-G-DEC"}, {1136, "ADC-OFFSET-G-INC"},
    {1137, "ADC-OFFSET-B-DEC"}, {1138, "ADC-OFFSET-B-INC"}, {1139, "ADC-GAIN-R-DEC"},   {1140, "ADC-GAIN-R-INC"},
    {1141, "ADC-GAIN-G-DEC"},   {1142, "ADC-GAIN-G-INC"},   {1143, "ADC-GAIN-B-DEC"},   {1144, "ADC-GAIN-B-INC"},
};

} // namespace

ADCADJUST::ADCADJUST(LcdGridCtrl* wallView, CWnd* pParent)
    : CDialog(kTemplate, pParent), m_ctrl(std::make_unique<CWallCtrl>(CWallModel::GetInstance(), wallView)) {
    for (const CommandButton& button : kCommands)
        OnCommandId(button.id, SendOnClick(m_ctrl.get(), button.command));
}

ADCADJUST::~ADCADJUST() = default;
