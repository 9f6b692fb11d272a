#include "PageMenu.h"

#include "ui/forms/ButtonSkins.h"
#include "ui/forms/DialogFields.h"
#include "ui/wall/CommandButton.h"

#include "core/WallModel.h"

namespace {

constexpr UINT kTemplate = 106;
constexpr int kDoSrandButton = 1012;
constexpr int kSrandEdit = 1148;
constexpr int kAddrEdit = 1149;

const CommandButton kCommands[] = {
    {1037, "M-MENU"},           {1038, "M-UP"},           {1042, "M-DOWN"},          {1040, "M-LEFT"},
    {1041, "M-RIGHT"},          {1043, "M-Pictureflip0"}, {1045, "M-Pictureflip90"}, {1046, "M-Pictureflip180"},
    {1044, "M-Pictureflip270"}, {1047, "M-MainSource"},   {1048, "M-SubSource"},     {1013, "M-getSrand"},
};

struct IconButton {
    int id;
    int icon;
};

// Up and down arrows, then left and right.
const IconButton kArrows[] = {{1038, 136}, {1042, 137}, {1040, 133}, {1041, 135}};
const int kTextButtons[] = {1012, 1013, 1043, 1045, 1046, 1044, 1047, 1048, 1037};

// Two decimal digits in the two nibbles of a byte.
int PackTwoDigits(int n) { return (n / 10) * 16 + n % 10; }

} // namespace

CPageMenu::CPageMenu(LcdGridCtrl* wallView)
    : CPropertyPage(kTemplate), m_ctrl(std::make_unique<CWallCtrl>(CWallModel::GetInstance(), wallView)) {
    for (const CommandButton& button : kCommands)
        OnCommandId(button.id, SendOnClick(m_ctrl.get(), button.command));
    OnCommandId(kDoSrandButton, [this]() { OnDoSrand(); });
}

CPageMenu::~CPageMenu() = default;

BOOL CPageMenu::OnInitDialog() {
    const BOOL result = CPropertyPage::OnInitDialog();
    for (const IconButton& arrow : kArrows)
        SkinIconButton(this, arrow.id, arrow.icon);
    for (int id : kTextButtons)
        SkinTextButton(this, id);
    return result;
}

void CPageMenu::OnDoSrand() {
    const int srand = ItemNumber(this, kSrandEdit);
    const int addr = ItemNumber(this, kAddrEdit);
    // Thousands and hundreds, then tens and units; beyond 9999 the thousands run on into the high nibble.
    const int first = (srand / 1000) * 16 + (srand % 1000) / 100;
    const int second = PackTwoDigits(srand % 100);
    // From 100 on the hundreds go to the high nibble and the rest is added as a plain number: 123 gives 16 + 23.
    const int third = addr < 100 ? PackTwoDigits(addr) : (addr / 100) * 16 + addr % 100;
    m_ctrl->ExecuteWithBytes("YPBPR", static_cast<BYTE>(first), static_cast<BYTE>(second), static_cast<BYTE>(third));
}
