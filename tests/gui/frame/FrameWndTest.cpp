#include "platform/gui/frame/FrameWnd.h"
#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/frame/SplitterWnd.h"
#include "platform/gui/frame/StatusBar.h"
#include "platform/gui/frame/View.h"
#include "platform/gui/frame/WinApp.h"
#include "platform/gui/window/ClientDC.h"
#include "platform/gui/window/DeferWindowPos.h"
#include "res/ResourceTables.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<UINT> g_commands;
bool g_frameDeleted = false;

class PaneView : public CView {};

class MainFrame : public CFrameWnd {
public:
    MainFrame() {
        for (UINT id : {1032u, 1033u, 32787u})
            OnCommandId(id, [id]() { g_commands.push_back(id); });
    }
    ~MainFrame() override { g_frameDeleted = true; }

    int OnCreate(LPCREATESTRUCT cs) override {
        if (CFrameWnd::OnCreate(cs) == -1)
            return -1;
        const UINT ids[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
        if (!m_status.Create(this) || !m_status.SetIndicators(ids, 4))
            return -1;
        return 0;
    }
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* context) override {
        if (!m_splitter.CreateStatic(this, 2, 1))
            return FALSE;
        return m_splitter.CreateView(0, 0, RUNTIME_CLASS(PaneView), CSize(400, 200), context) &&
               m_splitter.CreateView(1, 0, RUNTIME_CLASS(PaneView), CSize(200, 160), context);
    }

    CStatusBar m_status;
    CSplitterWnd m_splitter;
};

class TestApp : public CWinApp {
public:
    TestApp() {
        OnCommandId(ID_FILE_NEW, []() { g_commands.push_back(ID_FILE_NEW); });
    }
};

class FrameWndTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterResourceTables();
        g_commands.clear();
        g_frameDeleted = false;
        m_frame = new MainFrame; // frames delete themselves with their window
        ASSERT_TRUE(m_frame->LoadFrame(128));
        m_app.m_pMainWnd = m_frame;
        m_frame->MoveWindow(0, 0, 640, 480);
    }
    void TearDown() override {
        if (!g_frameDeleted)
            m_frame->DestroyWindow();
    }

    QAction* Item(int popup, int item) {
        return m_frame->GetMenuBarWidget()->actions().at(popup)->menu()->actions().at(item);
    }

    TestApp m_app;
    MainFrame* m_frame = nullptr;
};

} // namespace

TEST_F(FrameWndTest, MenuBarItemsDeliverTheirCommandIdsOnceTheMenuHasClosed) {
    QMenuBar* bar = m_frame->GetMenuBarWidget();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 2);
    EXPECT_EQ(bar->actions().at(1)->text(), "Config(&E)");
    Item(1, 0)->trigger();
    Item(1, 2)->trigger();
    EXPECT_TRUE(g_commands.empty());
    QApplication::processEvents();
    EXPECT_EQ(g_commands, (std::vector<UINT>{1032, 32787}));

    CString title;
    m_frame->GetWindowText(title);
    EXPECT_EQ(title, "\xC6\xB4\xBD\xD3\xC7\xBD"); // the first part of string 128, "拼接墙"
}

TEST_F(FrameWndTest, OpeningAPopupGreysTheCommandsNobodyHandles) {
    Item(0, 0)->setEnabled(false);
    emit m_frame->GetMenuBarWidget()->actions().at(0)->menu()->aboutToShow();
    EXPECT_TRUE(Item(0, 0)->isEnabled()); // Exit: the application handles it

    // A command id no target maps is greyed.
    m_frame->GetMenu()->GetSubMenu(1)->ModifyMenu(1, MF_BYPOSITION | MF_STRING, 4711, "Nobody");
    emit m_frame->GetMenuBarWidget()->actions().at(1)->menu()->aboutToShow();
    EXPECT_FALSE(Item(1, 1)->isEnabled());
    EXPECT_TRUE(Item(1, 0)->isEnabled());
}

TEST_F(FrameWndTest, ExitClosesTheMainWindowAndTheFrameGoesWithIt) {
    Item(0, 0)->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(g_frameDeleted);
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
}

TEST_F(FrameWndTest, AcceleratorsSendTheirCommandsThroughTheRoute) {
    m_frame->ShowWindow(SW_SHOW);
    QWidget* host = m_frame->GetHostWidget();
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host));
    QTest::keyClick(host, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(g_commands, std::vector<UINT>{ID_FILE_NEW});
}

TEST_F(FrameWndTest, TheStatusBarLiesAlongTheBottomWithTheFirstPaneStretching) {
    CRect client, bar;
    m_frame->GetClientRect(&client);
    m_frame->m_status.GetWindowRect(&bar);
    m_frame->ScreenToClient(&bar);
    EXPECT_EQ(bar.bottom, client.bottom);
    EXPECT_EQ(bar.Width(), client.Width());

    ASSERT_EQ(m_frame->m_status.GetCount(), 4);
    CRect panes[4];
    for (int i = 0; i < 4; ++i)
        m_frame->m_status.GetItemRect(i, &panes[i]);
    EXPECT_EQ(panes[0].left, 0);
    EXPECT_EQ(panes[3].right, bar.Width()); // the stretchy pane takes what the others leave
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(panes[i].left, panes[i - 1].right + CStatusBar::kGap);
    EXPECT_TRUE(m_frame->m_status.GetPaneStyle(0) & SBPS_STRETCH);
    EXPECT_EQ(m_frame->m_status.GetPaneText(0), "Ready");

    // An indicator without a string fails and changes nothing.
    const UINT bad[] = {ID_SEPARATOR, 4711};
    EXPECT_FALSE(m_frame->m_status.SetIndicators(bad, 2));
    EXPECT_EQ(m_frame->m_status.GetCount(), 4);

    m_frame->m_status.SendMessage(SB_SETMINHEIGHT, 30, 0);
    m_frame->m_status.GetWindowRect(&bar);
    EXPECT_EQ(bar.Height(), 30);

    // Each pane with borders is framed in the shadow colour on its left edge.
    m_frame->ShowWindow(SW_SHOW);
    m_frame->m_status.UpdateWindow();
    CRect cap;
    m_frame->m_status.GetItemRect(1, &cap);
    const QImage* image = m_frame->m_status.GetClientImage();
    ASSERT_NE(image, nullptr);
    const QRgb left = image->pixel(cap.left, cap.top + cap.Height() / 2);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(qRgb(GetRValue(shadow), GetGValue(shadow), GetBValue(shadow)), left | 0xFF000000u);
}

TEST_F(FrameWndTest, TheSplitterGivesTheUpperPaneItsIdealHeightAndTheLowerOneTheRest) {
    CSplitterWnd& splitter = m_frame->m_splitter;
    CRect inside;
    splitter.GetInsideRect(inside);
    int upper = 0, lower = 0, minimum = 0;
    splitter.GetRowInfo(0, upper, minimum);
    splitter.GetRowInfo(1, lower, minimum);
    EXPECT_EQ(upper, 200);
    EXPECT_EQ(upper + lower + 7, inside.Height()); // one bar between them
    CRect pane;
    splitter.GetPane(1, 0)->GetWindowRect(&pane);
    splitter.ScreenToClient(&pane);
    EXPECT_EQ(pane.top, inside.top + 200 + 7);
    EXPECT_EQ(pane.bottom, inside.bottom);
    EXPECT_EQ(splitter.GetPane(0, 0)->GetDlgCtrlID(), static_cast<int>(AFX_IDW_PANE_FIRST));
    EXPECT_EQ(splitter.GetPane(2, 0), nullptr);

    // Dragging the bar moves the boundary.
    QWidget* host = splitter.GetHostWidget();
    const int x = inside.left + 20;
    QTest::mousePress(host, Qt::LeftButton, Qt::NoModifier, QPoint(x, inside.top + 203));
    QTest::mouseRelease(host, Qt::LeftButton, Qt::NoModifier, QPoint(x, inside.top + 250));
    splitter.GetRowInfo(0, upper, minimum);
    EXPECT_EQ(upper, 250);
}

namespace {

// Frames every pane after the bar's own painting, as the flat status bar does.
class FramedStatusBar : public CStatusBar {
public:
    void OnPaint() override {
        Default();
        CClientDC dc(this);
        for (int i = 0; i < GetCount(); ++i) {
            CRect rect;
            GetItemRect(i, &rect);
            dc.FrameRect(&rect,
                         CBrush::FromHandle(static_cast<HBRUSH>(static_cast<HGDIOBJ>(GetStockObject(BLACK_BRUSH)))));
        }
    }
};

} // namespace

TEST_F(FrameWndTest, ADerivedStatusBarDrawsOverThePanesItsBasePainted) {
    FramedStatusBar bar;
    ASSERT_TRUE(bar.Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR + 1));
    const UINT ids[] = {ID_SEPARATOR, ID_INDICATOR_NUM};
    ASSERT_TRUE(bar.SetIndicators(ids, 2));
    bar.SetPaneStyle(1, SBPS_NORMAL);
    m_frame->ShowWindow(SW_SHOW);
    bar.Invalidate();
    bar.UpdateWindow();
    CRect num;
    bar.GetItemRect(1, &num);
    const QImage* image = bar.GetClientImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixelColor(num.left, num.top + 3), QColor(0, 0, 0)); // the derived frame
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(image->pixelColor(num.left + 4, num.top + 3),
              QColor(GetRValue(face), GetGValue(face), GetBValue(face))); // the base's background inside
}

TEST_F(FrameWndTest, DeferredMovesHappenTogetherWhenTheBatchEnds) {
    CWnd* upper = m_frame->m_splitter.GetPane(0, 0);
    CWnd* lower = m_frame->m_splitter.GetPane(1, 0);
    HDWP batch = BeginDeferWindowPos(2);
    batch = DeferWindowPos(batch, upper, nullptr, 0, 0, 50, 40, SWP_NOZORDER);
    batch = DeferWindowPos(batch, lower, nullptr, 0, 50, 60, 30, SWP_NOZORDER);
    ASSERT_NE(batch, nullptr);
    CRect rect;
    upper->GetClientRect(&rect);
    EXPECT_NE(rect.Width(), 50 - 4);
    EXPECT_TRUE(EndDeferWindowPos(batch));
    upper->GetWindowRect(&rect);
    EXPECT_EQ(rect.Size(), CSize(50, 40));
    lower->GetWindowRect(&rect);
    EXPECT_EQ(rect.Size(), CSize(60, 30));
    EXPECT_FALSE(EndDeferWindowPos(batch)); // a batch ends once

    HDWP broken = BeginDeferWindowPos(1);
    EXPECT_EQ(DeferWindowPos(broken, nullptr, nullptr, 0, 0, 1, 1, 0), nullptr);
}

TEST_F(FrameWndTest, AMenuBarItemHasAScreenRectangleWhileTheFrameShowsIt) {
    RECT rect{};
    EXPECT_FALSE(GetMenuItemRect(m_frame, m_frame->GetMenu()->m_hMenu, 0, &rect)); // not shown yet
    m_frame->ShowWindow(SW_SHOW);
    ASSERT_TRUE(GetMenuItemRect(m_frame, m_frame->GetMenu()->m_hMenu, 1, &rect));
    CPoint topLeft(rect.left, rect.top);
    m_frame->ScreenToClient(&topLeft);
    EXPECT_EQ(topLeft.y, 0);
    EXPECT_GT(rect.right, rect.left);
    EXPECT_FALSE(GetMenuItemRect(m_frame, m_frame->GetMenu()->m_hMenu, 5, &rect));
}

TEST_F(FrameWndTest, F6AndShiftF6MoveTheActiveViewAroundTheSplittersPanes) {
    m_frame->ShowWindow(SW_SHOW);
    QWidget* host = m_frame->GetHostWidget();
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host));
    CWnd* upper = m_frame->m_splitter.GetPane(0, 0);
    CWnd* lower = m_frame->m_splitter.GetPane(1, 0);
    ASSERT_NE(upper, nullptr);
    ASSERT_NE(lower, nullptr);
    m_frame->m_splitter.SetActivePane(0, 0);
    EXPECT_EQ(m_frame->GetActiveView(), upper);

    QTest::keyClick(host, Qt::Key_F6);
    EXPECT_EQ(m_frame->GetActiveView(), lower);
    EXPECT_TRUE(QTest::qWaitFor([&] { return CWnd::GetFocus() == lower; }));
    QTest::keyClick(host, Qt::Key_F6); // wraps around
    EXPECT_EQ(m_frame->GetActiveView(), upper);
    QTest::keyClick(host, Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(m_frame->GetActiveView(), lower);
    int row = -1;
    EXPECT_EQ(m_frame->m_splitter.GetActivePane(&row), lower);
    EXPECT_EQ(row, 1);
}
