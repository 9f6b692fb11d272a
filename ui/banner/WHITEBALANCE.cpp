#include "WHITEBALANCE.h"

#include "ui/wall/CommandButton.h"

#include "core/WallModel.h"

namespace {

constexpr UINT kTemplate = 166;

const CommandButton kCommands[] = {
    {1082, "WHITEBALANCE-OFFSET-R-DEC"}, {1087, "WHITEBALANCE-OFFSET-R-INC"}, {1125, "WHITEBALANCE-OFFSET-G-DEC"},
    {1126, "WHITEBALANCE-OFFSET-G-INC"}, {1127, "WHITEBALANCE-OFFSET-B-DEC"}, {1128, "WHITEBALANCE-OFFSET-B-INC"},
    {1129, "WHITEBALANCE-GAIN-R-DEC"},   {1130, "WHITEBALANCE-GAIN-R-INC"},   {1131, "WHITEBALANCE-GAIN-G-DEC"},
    {1132, "WHITEBALANCE-GAIN-G-INC"},   {1133, "WHITEBALANCE-GAIN-B-DEC"},   {1134, "WHITEBALANCE-GAIN-B-INC"},
};

} // namespace

WHITEBALANCE::WHITEBALANCE(LcdGridCtrl* wallView, CWnd* pParent)
    : CDialog(kTemplate, pParent), m_ctrl(std::make_unique<CWallCtrl>(CWallModel::GetInstance(), wallView)) {
    for (const CommandButton& button : kCommands)
        OnCommandId(button.id, SendOnClick(m_ctrl.get(), button.command));
}

WHITEBALANCE::~WHITEBALANCE() = default;
