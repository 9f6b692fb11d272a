#include "CtrlBanner.h"
#include "platform/gui/RuntimeClass.h"

#include "BannerCtrl.h"
#include "DialogFields.h"

#include "core/CommPort.h"
#include "core/WallModel.h"

IMPLEMENT_DYNCREATE(CCtrlBanner, CFormView)

namespace {

constexpr UINT kTemplate = 103;
constexpr int kOpenButton = 1003;
// "Close", "Power On", "Power Off" and the six source buttons.
constexpr int kPortOpenButtons[] = {1004, 1006, 1005, 1009, 1011, 1013, 1037, 1038, 1039};

} // namespace

CCtrlBanner::CCtrlBanner()
    : CFormView(kTemplate), m_ctrl(std::make_unique<CBannerCtrl>(CWallModel::GetInstance())),
      m_wallModel(CWallModel::GetInstance()) {}

CCtrlBanner::~CCtrlBanner() = default;

void CCtrlBanner::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    EnableButtons(m_wallModel->GetCommPort()->IsOpen());
}

void CCtrlBanner::EnableButtons(BOOL portOpen) {
    const bool open = portOpen != FALSE;
    EnableItem(this, kOpenButton, !open);
    for (int id : kPortOpenButtons)
        EnableItem(this, id, open);
}
