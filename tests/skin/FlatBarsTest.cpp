#include "skin/FlatSplitterWnd.h"
#include "skin/StatusBarXP.h"

#include "platform/gui/draw/SysColor.h"
#include "platform/gui/frame/FrameWnd.h"
#include "platform/gui/frame/View.h"
#include "platform/gui/frame/WinApp.h"
#include "res/ResourceTables.h"

#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

using Info = CSplitterWnd::CRowColInfo;

std::vector<int> Layout(std::vector<Info> infos, int size, int gap = 5) {
    CFlatSplitterWnd::LayoutPaneSizes(infos.data(), static_cast<int>(infos.size()), size, gap);
    std::vector<int> sizes;
    for (const Info& info : infos)
        sizes.push_back(info.nCurSize);
    return sizes;
}

TEST(LayoutPaneSizesTest, TheLastPaneTakesWhatTheOthersLeave) {
    EXPECT_EQ((std::vector<int>{100, 195}), Layout({{10, 100, 0}, {10, 999, 0}}, 300));
    EXPECT_EQ((std::vector<int>{100, 40, 150}), Layout({{0, 100, 0}, {0, 40, 0}, {0, 0, 0}}, 300));
    EXPECT_EQ((std::vector<int>{300}), Layout({{0, 20, 0}}, 300));
}

TEST(LayoutPaneSizesTest, NoRoomGivesEveryPaneNothing) {
    EXPECT_EQ((std::vector<int>{0, 0, 0}), Layout({{0, 100, 0}, {0, 100, 0}, {0, 0, 0}}, 0));
    EXPECT_EQ((std::vector<int>{0, 0}), Layout({{0, 100, 0}, {0, 0, 0}}, -40));
}

TEST(LayoutPaneSizesTest, WhatIsLeftWithinTheGapGoesToThePaneAndTheBarVanishes) {
    // 104 - 100 leaves 4, not more than the gap: the pane takes it and loses gap - 2.
    EXPECT_EQ((std::vector<int>{101, 0}), Layout({{0, 100, 0}, {0, 0, 0}}, 104));
    EXPECT_EQ((std::vector<int>{1, 0}), Layout({{0, 2, 0}, {0, 0, 0}}, 4));
    // A pane no larger than gap - 2 keeps what it got.
    EXPECT_EQ((std::vector<int>{2, 0}), Layout({{0, 1, 0}, {0, 0, 0}}, 2));
    // One pixel more than the gap keeps the bar, and the last pane gets that pixel.
    EXPECT_EQ((std::vector<int>{100, 1}), Layout({{0, 100, 0}, {0, 0, 0}}, 106));
}

TEST(LayoutPaneSizesTest, APaneThatCannotHaveItsMinimumGivesItsRoomToThePaneBefore) {
    // 160 - 100 - 5 leaves 55 for a pane that needs 80: it vanishes; the first gets 55 + 2 more.
    EXPECT_EQ((std::vector<int>{157, 0, 0}), Layout({{0, 100, 0}, {80, 100, 0}, {0, 0, 0}}, 160));
    // An ideal size below the minimum hides the pane and is forgotten.
    std::vector<Info> infos = {{30, 20, 0}, {0, 0, 0}};
    CFlatSplitterWnd::LayoutPaneSizes(infos.data(), 2, 200, 5);
    EXPECT_EQ(0, infos[0].nIdealSize);
    EXPECT_EQ(0, infos[0].nCurSize);
    EXPECT_EQ(195, infos[1].nCurSize);
    // The first pane keeps what it can get even below its minimum, less the bar's share.
    EXPECT_EQ((std::vector<int>{37, 0}), Layout({{50, 60, 0}, {0, 0, 0}}, 40));
}

class PaneView : public CView {
    DECLARE_DYNCREATE(PaneView)
};
IMPLEMENT_DYNCREATE(PaneView, CView)

// The main window as the program builds it: the flat status bar, and the flat splitter with two views.
class FlatFrame : public CFrameWnd {
public:
    int OnCreate(LPCREATESTRUCT cs) override {
        if (CFrameWnd::OnCreate(cs) == -1)
            return -1;
        const UINT ids[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
        if (!m_status.Create(this) || !m_status.SetIndicators(ids, 4))
            return -1;
        return 0;
    }
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* context) override {
        return m_splitter.CreateStatic(this, 2, 1) &&
               m_splitter.CreateView(0, 0, RUNTIME_CLASS(PaneView), CSize(300, 200), context) &&
               m_splitter.CreateView(1, 0, RUNTIME_CLASS(PaneView), CSize(300, 100), context);
    }

    CStatusBarXP m_status;
    CFlatSplitterWnd m_splitter;
};

QColor Sys(int index) {
    const COLORREF c = GetSysColor(index);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

class FlatBarsTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterResourceTables();
        m_frame = new FlatFrame; // deletes itself with its window
        ASSERT_TRUE(m_frame->LoadFrame(128));
        m_app.m_pMainWnd = m_frame;
        m_frame->MoveWindow(0, 0, 640, 480);
        m_frame->ShowWindow(SW_SHOW);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_frame->GetHostWidget()));
    }
    void TearDown() override { m_frame->DestroyWindow(); }

    CRect PaneRect(int row) {
        CRect rect;
        m_frame->m_splitter.GetPane(row, 0)->GetWindowRect(&rect);
        m_frame->m_splitter.ScreenToClient(&rect);
        return rect;
    }

    CWinApp m_app;
    FlatFrame* m_frame = nullptr;
};

TEST_F(FlatBarsTest, StatusPanesLoseTheirBordersAndAreFramedInTheShadowColour) {
    CStatusBarXP& bar = m_frame->m_status;
    EXPECT_EQ(20, bar.GetMinHeight());
    ASSERT_EQ(4, bar.GetCount());
    bar.Invalidate();
    bar.UpdateWindow();
    const QImage* image = bar.GetClientImage();
    ASSERT_NE(nullptr, image);
    for (int i = 0; i < bar.GetCount(); ++i) {
        EXPECT_TRUE(bar.GetPaneStyle(i) & SBPS_NOBORDERS) << i;
        CRect pane;
        bar.GetItemRect(i, &pane);
        const int midX = (pane.left + pane.right) / 2;
        const int midY = (pane.top + pane.bottom) / 2;
        for (const QPoint p :
             {QPoint(pane.left, pane.top), QPoint(pane.right - 1, pane.bottom - 1), QPoint(pane.left, midY),
              QPoint(pane.right - 1, midY), QPoint(midX, pane.top), QPoint(midX, pane.bottom - 1)})
            EXPECT_EQ(Sys(COLOR_BTNSHADOW), image->pixelColor(p)) << i << " " << p.x() << "," << p.y();
        // No sunken highlight inside: the frame is one pixel wide.
        EXPECT_EQ(Sys(COLOR_BTNFACE), image->pixelColor(pane.left + 1, pane.top + 1)) << i;
        EXPECT_EQ(Sys(COLOR_BTNFACE), image->pixelColor(pane.right - 2, pane.bottom - 2)) << i;
    }
}

TEST_F(FlatBarsTest, StatusBarWhoseIndicatorsAreRefusedKeepsItsHeightAndStyles) {
    CStatusBarXP bar;
    ASSERT_TRUE(bar.Create(m_frame, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR + 1));
    const UINT bad[] = {ID_SEPARATOR, 4711};
    EXPECT_FALSE(bar.SetIndicators(bad, 2));
    EXPECT_EQ(0, bar.GetMinHeight());
    EXPECT_EQ(0, bar.GetCount());
    // The main bar, refused later, keeps what it had.
    EXPECT_FALSE(m_frame->m_status.SetIndicators(bad, 2));
    EXPECT_EQ(4, m_frame->m_status.GetCount());
    EXPECT_TRUE(m_frame->m_status.GetPaneStyle(1) & SBPS_NOBORDERS);
    bar.DestroyWindow();
}

TEST_F(FlatBarsTest, SplitterPanesSitInsideAOnePixelBorderWithAFivePixelBarBetween) {
    CFlatSplitterWnd& splitter = m_frame->m_splitter;
    CRect client;
    splitter.GetClientRect(&client);
    // The views carry a sunken edge, so each pane lies one pixel over the border and the bar around it.
    EXPECT_EQ(CRect(0, 0, client.right, 202), PaneRect(0));
    EXPECT_EQ(CRect(0, 205, client.right, client.bottom), PaneRect(1));

    splitter.Invalidate();
    splitter.UpdateWindow();
    const QImage* image = splitter.GetClientImage();
    ASSERT_NE(nullptr, image);
    // The border is light on all four sides.
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), image->pixelColor(0, 0));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), image->pixelColor(client.right - 1, client.bottom - 1));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), image->pixelColor(client.right - 1, 203));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), image->pixelColor(0, 203));
}

TEST_F(FlatBarsTest, DraggingTheLockedBarChangesNothing) {
    CFlatSplitterWnd& splitter = m_frame->m_splitter;
    const CRect upper = PaneRect(0);
    const CRect lower = PaneRect(1);
    QWidget* host = splitter.GetHostWidget();
    QTest::mousePress(host, Qt::LeftButton, Qt::NoModifier, QPoint(100, 203));
    QTest::mouseMove(host, QPoint(100, 280));
    QTest::mouseRelease(host, Qt::LeftButton, Qt::NoModifier, QPoint(100, 280));
    int cur = 0;
    int min = 0;
    splitter.GetRowInfo(0, cur, min);
    EXPECT_EQ(200, cur);
    EXPECT_EQ(upper, PaneRect(0));
    EXPECT_EQ(lower, PaneRect(1));
}

TEST_F(FlatBarsTest, DrawingASplitterPartWithoutADcInvalidatesNothing) {
    CFlatSplitterWnd& splitter = m_frame->m_splitter;
    splitter.UpdateWindow();
    ASSERT_FALSE(splitter.GetUpdateRect(nullptr));
    splitter.OnDrawSplitter(nullptr, CSplitterWnd::splitBar, CRect(0, 200, 300, 205));
    splitter.OnDrawSplitter(nullptr, CSplitterWnd::splitBorder, CRect(0, 0, 300, 300));
    EXPECT_FALSE(splitter.GetUpdateRect(nullptr));
    splitter.RecalcLayout();
    EXPECT_FALSE(splitter.GetUpdateRect(nullptr));
}

} // namespace
