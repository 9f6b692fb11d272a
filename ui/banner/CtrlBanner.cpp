#include "CtrlBanner.h"
#include "platform/gui/base/RuntimeClass.h"

#include "BannerCtrl.h"
#include "ui/forms/ButtonSkins.h"
#include "ui/forms/DialogFields.h"
#include "ui/wall/CommandButton.h"

#include "ui/wall/LcdGridCtrl.h"

#include "core/CommPort.h"
#include "core/ErrorMessage.h"
#include "core/WallModel.h"
#include "platform/gui/window/WindowStyles.h"

#include <initializer_list>

IMPLEMENT_DYNCREATE(CCtrlBanner, CFormView)

namespace {

constexpr UINT kTemplate = 103;
constexpr int kOpenButton = 1003;
constexpr int kCloseButton = 1004;
constexpr int kSheetPlace = 1051;
// "Close", "Power On", "Power Off" and the six source buttons.
constexpr int kPortOpenButtons[] = {1004, 1006, 1005, 1009, 1011, 1013, 1037, 1038, 1039};
constexpr int kSkinned[] = {1003, 1004, 1037, 1038, 1005, 1006, 1013, 1009, 1011, 1039};

const CommandButton kCommands[] = {
    {1006, "POWER-ON"}, {1005, "POWER-OFF"}, {1009, "DP"},  {1011, "HDMI2"},
    {1013, "VGA"},      {1037, "HDMI"},      {1038, "DVI"}, {1039, "UNITSHOW"},
};

} // namespace

CCtrlBanner::CCtrlBanner()
    : CFormView(kTemplate), m_wallView(TheWallView()), m_pageScene(m_wallView), m_pageShortCut(m_wallView),
      m_pageMatrix(m_wallView), m_pageMenu(m_wallView), m_pageOthers(m_wallView), m_pageVgaDvi(m_wallView),
      m_ctrl(std::make_unique<CBannerCtrl>(CWallModel::GetInstance(), m_wallView)),
      m_wallModel(CWallModel::GetInstance()) {
    OnCommandId(kOpenButton, [this]() {
        if (m_ctrl->OpenPort() == kResultOk)
            EnableButtons(TRUE);
    });
    OnCommandId(kCloseButton, [this]() {
        if (m_ctrl->ClosePort()) // the port's close answers TRUE once it is closed
            EnableButtons(FALSE);
    });
    for (const CommandButton& button : kCommands)
        OnCommandId(button.id, SendOnClick(m_ctrl.get(), button.command));
}

CCtrlBanner::~CCtrlBanner() = default;

void CCtrlBanner::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    if (m_sheet.GetSafeHwnd()) {
        EnableButtons(m_wallModel->GetCommPort()->IsOpen());
        return;
    }
    for (CPropertyPage* page : std::initializer_list<CPropertyPage*>{&m_pageShortCut, &m_pageVgaDvi, &m_pageMenu,
                                                                     &m_pageScene, &m_pageOthers, &m_pageMatrix})
        m_sheet.AddPage(page);
    m_sheet.Create(this, WS_CHILD | WS_VISIBLE, 0);
    // The keyboard moves on into the pages.
    m_sheet.ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    m_sheet.ModifyStyle(0, WS_TABSTOP);
    if (CWnd* place = GetDlgItem(kSheetPlace)) {
        CRect r;
        place->GetWindowRect(&r);
        ScreenToClient(&r);
        m_sheet.SetWindowPos(nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    EnableButtons(m_wallModel->GetCommPort()->IsOpen());
    for (int id : kSkinned)
        SkinTextButton(this, id);
}

void CCtrlBanner::EnableButtons(BOOL portOpen) {
    const bool open = portOpen != FALSE;
    // What comes on first: a focused button that goes grey passes the focus on to the next one that is live.
    if (open)
        for (int id : kPortOpenButtons)
            EnableItem(this, id, true);
    EnableItem(this, kOpenButton, !open);
    if (!open)
        for (int id : kPortOpenButtons)
            EnableItem(this, id, false);
    if (m_sheet.GetSafeHwnd())
        m_sheet.EnableWindow(open ? TRUE : FALSE);
}
