#pragma once

#include "PageMatrix.h"
#include "PageMenu.h"
#include "PageOthers.h"
#include "PageScene.h"
#include "PageShortCut.h"
#include "PageVgaDvi.h"

#include "platform/gui/dialogs/FormView.h"
#include "platform/gui/dialogs/PropertySheet.h"

#include <memory>

class CBannerCtrl;
class CWallModel;
class LcdGridCtrl;

// The lower pane of the main window: a row of buttons that open and close the wall port, switch the selected
// units on and off and pick their source, and below it the property sheet with the six control pages. Everything
// but "Open" works only while the wall port is open.
class CCtrlBanner : public CFormView {
    DECLARE_DYNCREATE(CCtrlBanner)
public:
    CCtrlBanner();
    ~CCtrlBanner() override;

    // Builds the sheet at the place of control 1051 and skins the buttons; once, though a new document runs the
    // views' initial update again.
    void OnInitialUpdate() override;
    // "Open" while the port is closed; the other nine buttons and the whole sheet while it is open.
    void EnableButtons(BOOL portOpen);

    CBannerCtrl* GetController() const { return m_ctrl.get(); }
    CPropertySheet& GetSheet() { return m_sheet; }

private:
    // The wall view the main view published: the frame builds the main view first. The buttons and every page
    // send to its selection.
    LcdGridCtrl* const m_wallView;
    // Built in this order and destroyed in the reverse, the sheet before its pages.
    CPageScene m_pageScene;
    CPageShortCut m_pageShortCut;
    CPageMatrix m_pageMatrix;
    CPageMenu m_pageMenu;
    CPageOthers m_pageOthers;
    CPageVgaDvi m_pageVgaDvi;
    CPropertySheet m_sheet;
    std::unique_ptr<CBannerCtrl> m_ctrl;
    CWallModel* m_wallModel;
};
