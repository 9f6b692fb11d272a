#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Font.h"
#include "platform/gui/window/SystemMetrics.h"
#include "platform/gui/window/Wnd.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

TEST(AttachedControlFont, SetFontChangesTheWidgetAndGetFontAnswersTheHandle) {
    QWidget parent;
    auto* edit = new QLineEdit(&parent);
    CWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(edit));

    LOGFONT logFont{};
    logFont.lfHeight = -27;
    logFont.lfWeight = 700;
    std::strcpy(logFont.lfFaceName, "DejaVu Sans");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&logFont));
    wnd.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(font)), TRUE);
    EXPECT_EQ(edit->font().pixelSize(), 27);
    EXPECT_TRUE(edit->font().bold());
    EXPECT_EQ(wnd.GetFont(), &font);

    // No font (or a stale handle) gives the system font back rather than keeping the old one.
    wnd.SendMessage(WM_SETFONT, 0, FALSE);
    EXPECT_NE(edit->font().pixelSize(), 27);
    EXPECT_EQ(wnd.SendMessage(WM_GETFONT), 0);
    wnd.UnsubclassWindow();
}

namespace {

class ActivatedWnd : public CWnd {
public:
    std::vector<UINT> states;
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) override {
        states.push_back(nState);
        CWnd::OnActivate(nState, pWndOther, bMinimized);
    }
};

BOOL CreateControl(CWnd& wnd, CWnd& parent, UINT id, int x, DWORD extraStyle = WS_VISIBLE) {
    return wnd.CreateEx(0, nullptr, "", WS_CHILD | WS_TABSTOP | extraStyle, CRect(x, 0, x + 20, 20), &parent, id);
}

} // namespace

TEST(DialogTabOrder, NextTabItemSkipsHiddenAndDisabledControlsAndWraps) {
    CWnd dialog;
    ASSERT_TRUE(dialog.CreateEx(0, nullptr, "dlg", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 50), nullptr, 0));
    CWnd first, hidden, disabled, last, noTab;
    ASSERT_TRUE(CreateControl(first, dialog, 10, 0));
    ASSERT_TRUE(CreateControl(hidden, dialog, 11, 25, 0));
    ASSERT_TRUE(CreateControl(disabled, dialog, 12, 50, WS_VISIBLE | WS_DISABLED));
    ASSERT_TRUE(CreateControl(last, dialog, 13, 75));
    ASSERT_TRUE(noTab.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(100, 0, 120, 20), &dialog, 14));

    EXPECT_EQ(dialog.GetNextDlgTabItem(&first), &last);
    EXPECT_EQ(dialog.GetNextDlgTabItem(&last), &first);
    EXPECT_EQ(dialog.GetNextDlgTabItem(&first, TRUE), &last);
    EXPECT_EQ(dialog.GetNextDlgTabItem(nullptr), &first);
    // A control that has just been disabled still finds the one after it.
    first.EnableWindow(FALSE);
    EXPECT_EQ(GetNextDlgTabItem(&dialog, &first, FALSE), &last);
    // Nothing else qualifies: no answer rather than the control itself.
    EXPECT_EQ(dialog.GetNextDlgTabItem(&last), nullptr);
    EXPECT_EQ(GetNextDlgTabItem(nullptr, &last, FALSE), nullptr);
}

TEST(WindowProperties, SetGetRemoveAndSeenByQtUnderTheSameName) {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    EXPECT_EQ(GetProp(&wnd, "XPWndProp_MenuXP"), nullptr);
    EXPECT_TRUE(SetProp(&wnd, "XPWndProp_MenuXP", reinterpret_cast<HANDLE>(1)));
    int target = 0;
    EXPECT_TRUE(SetProp(&wnd, "XPWndProp_OldProc", &target));
    EXPECT_EQ(GetProp(&wnd, "XPWndProp_MenuXP"), reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(GetProp(&wnd, "XPWndProp_OldProc"), &target);
    EXPECT_TRUE(wnd.GetHostWidget()->property("XPWndProp_MenuXP").isValid());

    EXPECT_EQ(RemoveProp(&wnd, "XPWndProp_MenuXP"), reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(GetProp(&wnd, "XPWndProp_MenuXP"), nullptr);
    EXPECT_FALSE(wnd.GetHostWidget()->property("XPWndProp_MenuXP").isValid());
    EXPECT_EQ(RemoveProp(&wnd, "XPWndProp_MenuXP"), nullptr);

    // Qt's own properties are not window properties; a bad window or name fails cleanly.
    EXPECT_FALSE(SetProp(&wnd, "geometry", nullptr));
    EXPECT_FALSE(SetProp(&wnd, nullptr, nullptr));
    EXPECT_FALSE(SetProp(nullptr, "XPWndProp_MenuXP", nullptr));
    EXPECT_EQ(GetProp(nullptr, "XPWndProp_MenuXP"), nullptr);
}

TEST(WindowClassName, CreatedAndAttachedWindowsNameTheirClassWithinTheBuffer) {
    WNDCLASS wc{};
    wc.lpszClassName = "TitleTipWndServicesTest";
    ASSERT_TRUE(AfxRegisterClass(&wc));
    CWnd tip;
    ASSERT_TRUE(tip.CreateEx(0, wc.lpszClassName, "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    char name[64];
    EXPECT_EQ(GetClassName(&tip, name, sizeof name), 23);
    EXPECT_STREQ(name, "TitleTipWndServicesTest");
    EXPECT_EQ(GetClassName(&tip, name, 6), 5);
    EXPECT_STREQ(name, "Title");

    QMenu menu;
    char small[10];
    EXPECT_EQ(GetClassName(CWnd::FromWidget(&menu), small, sizeof small), 6);
    EXPECT_STREQ(small, "#32768");
    QPushButton button;
    EXPECT_GT(GetClassName(CWnd::FromWidget(&button), name, sizeof name), 0);
    EXPECT_STREQ(name, "Button");

    EXPECT_EQ(GetClassName(nullptr, name, sizeof name), 0);
    EXPECT_EQ(GetClassName(&tip, name, 0), 0);
}

TEST(DesktopWindow, HasTheScreensSizeGivesTheScreenDcAndCannotBeDestroyed) {
    CWnd* desktop = GetDesktopWindow();
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(desktop, CWnd::GetDesktopWindow());
    CRect r;
    desktop->GetWindowRect(&r);
    EXPECT_EQ(r, CRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    EXPECT_FALSE(desktop->DestroyWindow());
    EXPECT_TRUE(IsWindow(desktop));

    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    CDC* dc = desktop->GetDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_NE(dc->GetSafeHdc(), nullptr);
    EXPECT_EQ(desktop->ReleaseDC(dc), 1);

    // A window's DC taken by handle goes back by handle.
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    HDC own = GetDC(&wnd);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(ReleaseDC(&wnd, own), 1);
    EXPECT_EQ(ReleaseDC(&wnd, own), 0);

    // A child asked for under the desktop becomes a top-level window of its own.
    CWnd bar;
    ASSERT_TRUE(bar.CreateEx(0, nullptr, "", WS_CHILD, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT, desktop, 0xE800));
    EXPECT_TRUE(bar.GetHostWidget()->isWindow());
    bar.GetWindowRect(&r);
    EXPECT_TRUE(r.IsRectEmpty());
}

TEST(WindowActivation, TopLevelWindowsHearOfActivationAndFindTheirFrame) {
    ActivatedWnd top;
    ASSERT_TRUE(top.CreateEx(0, nullptr, "top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 100, 80), nullptr, 0));
    top.SetForegroundWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !top.states.empty(); }, 2000));
    EXPECT_EQ(top.states.back(), WA_ACTIVE);
    EXPECT_EQ(GetForegroundWindow(), &top);
    EXPECT_EQ(top.GetParentFrame(), nullptr);
}

TEST(WindowSize, NoWindowIsWiderOrTallerThanTheWindowSystemCarries) {
    // A tip sized to a text of millions of characters from a file.
    CWnd tip;
    ASSERT_TRUE(tip.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    tip.SetWindowPos(nullptr, 5, 5, 5000000, 20, SWP_NOZORDER | SWP_NOACTIVATE);
    CRect r;
    tip.GetWindowRect(&r);
    EXPECT_EQ(r.Size(), CSize(32767, 20));
    CWnd child;
    ASSERT_TRUE(child.CreateEx(0, nullptr, "", WS_CHILD, CRect(0, 0, 10, 10), &tip, 1));
    child.MoveWindow(0, 0, 40, 3000000);
    child.GetWindowRect(&r);
    EXPECT_EQ(r.Size(), CSize(40, 32767));
}
