#include "PageOthers.h"

#include "DialogFields.h"

namespace {

constexpr UINT kTemplate = 135;
constexpr int kFrameCheck = 1064;
constexpr int kFrameButtons[] = {1063, 1062, 1061, 1060};

} // namespace

CPageOthers::CPageOthers() : CPropertyPage(kTemplate) {}
CPageOthers::~CPageOthers() = default;

BOOL CPageOthers::IsFrameEnabled() const { return IsItemChecked(this, kFrameCheck) ? TRUE : FALSE; }

void CPageOthers::EnableFrameControls(BOOL enable) {
    if (!GetSafeHwnd())
        return;
    CheckDlgButton(kFrameCheck, enable ? BST_CHECKED : BST_UNCHECKED);
    for (int id : kFrameButtons)
        EnableItem(this, id, enable != FALSE);
}
