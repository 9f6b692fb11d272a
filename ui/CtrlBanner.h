#pragma once

#include "platform/gui/FormView.h"

#include <memory>

class CBannerCtrl;
class CWallModel;

// The lower pane of the main window: the wall port's buttons and the control pages go here. Its buttons follow
// the wall port: "Open" works while it is closed, everything else while it is open.
class CCtrlBanner : public CFormView {
    DECLARE_DYNCREATE(CCtrlBanner)
public:
    CCtrlBanner();
    ~CCtrlBanner() override;

    void OnInitialUpdate() override;
    void EnableButtons(BOOL portOpen);

    CBannerCtrl* GetController() const { return m_ctrl.get(); }

private:
    std::unique_ptr<CBannerCtrl> m_ctrl;
    CWallModel* m_wallModel;
};
