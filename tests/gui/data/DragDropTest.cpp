#include "platform/gui/data/OleDataObject.h"
#include "platform/gui/data/OleDataSource.h"
#include "platform/gui/data/OleDropTarget.h"
#include "platform/gui/window/Wnd.h"
#include "tests/support/DragDriver.h"

#include <QGuiApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Accepts text over the right half of its window only, moving it unless Ctrl is held, as a grid accepts
// drops over editable cells only.
class TextTarget : public COleDropTarget {
public:
    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* data, DWORD keys, CPoint point) override {
        calls.push_back("enter");
        return OnDragOver(pWnd, data, keys, point);
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD keys, CPoint point) override {
        points.push_back(point);
        if (!data->IsDataAvailable(CF_TEXT) || point.x < 50)
            return DROPEFFECT_NONE;
        return (keys & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    }
    BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT effect, CPoint) override {
        calls.push_back(effect == DROPEFFECT_COPY ? "drop copy" : "drop move");
        HGLOBAL mem = data->GetGlobalData(CF_TEXT);
        if (!mem)
            return FALSE;
        dropped.assign(static_cast<const char*>(GlobalLock(mem)), GlobalSize(mem));
        GlobalUnlock(mem);
        GlobalFree(mem);
        return TRUE;
    }
    void OnDragLeave(CWnd*) override { calls.push_back("leave"); }

    std::vector<std::string> calls;
    std::vector<CPoint> points;
    std::string dropped;
};

class DragDropTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_source.CreateEx(0, nullptr, "source", WS_OVERLAPPED, CRect(0, 0, 100, 100), nullptr, 0));
        // A client edge puts the client area 2 pixels inside the widget.
        ASSERT_TRUE(
            m_target.CreateEx(WS_EX_CLIENTEDGE, nullptr, "target", WS_OVERLAPPED, CRect(0, 0, 100, 100), nullptr, 0));
        ASSERT_TRUE(m_drop.Register(&m_target));
    }
    void TearDown() override { COleDataSource::SetDragDropLoop(nullptr); }

    // What a grid's drag start does: offer the selected cells' text and learn what became of it.
    DROPEFFECT Drag(const DragDriver& driver) {
        COleDataSource::SetDragDropLoop(driver);
        COleDataSource source;
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, kText.size());
        std::memcpy(GlobalLock(mem), kText.data(), kText.size());
        GlobalUnlock(mem);
        source.CacheGlobalData(CF_TEXT, mem);
        return source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
    }

    const std::string kText{"\xC7\xBD\t1\r\n2\t3\0", 10};
    CWnd m_source;
    CWnd m_target;
    TextTarget m_drop;
};

} // namespace

TEST_F(DragDropTest, TextMovesBetweenTwoWindowsAsExactGbkBytes) {
    QWidget* widget = m_target.GetHostWidget();
    EXPECT_EQ(Drag(DragDriver(widget, {QPoint(80, 12)})), DROPEFFECT_MOVE);
    EXPECT_EQ(m_drop.dropped, kText);
    EXPECT_EQ(m_drop.calls, (std::vector<std::string>{"enter", "drop move"}));
    ASSERT_FALSE(m_drop.points.empty());
    EXPECT_EQ(m_drop.points.back(), CPoint(78, 10)); // client coordinates
}

TEST_F(DragDropTest, CtrlMakesItACopy) {
    EXPECT_EQ(Drag(DragDriver(m_target.GetHostWidget(), {QPoint(80, 12)}, Qt::ControlModifier)), DROPEFFECT_COPY);
    EXPECT_EQ(m_drop.calls, (std::vector<std::string>{"enter", "drop copy"}));
}

TEST_F(DragDropTest, ARefusedEnterStillHearsTheMovesThatFollow) {
    // Entering over the refusing half, then moving over the accepting half.
    EXPECT_EQ(Drag(DragDriver(m_target.GetHostWidget(), {QPoint(10, 10), QPoint(30, 10), QPoint(90, 10)})),
              DROPEFFECT_MOVE);
    EXPECT_EQ(m_drop.points.size(), 4u); // the enter and three moves
    EXPECT_EQ(m_drop.dropped, kText);
}

TEST_F(DragDropTest, ADropWhereTheTargetRefusesLeavesTheSourceUntouched) {
    EXPECT_EQ(Drag(DragDriver(m_target.GetHostWidget(), {QPoint(90, 10), QPoint(10, 10)})), DROPEFFECT_NONE);
    EXPECT_TRUE(m_drop.dropped.empty());
    EXPECT_EQ(m_drop.calls.back(), "leave");
}

TEST_F(DragDropTest, ARevokedWindowTakesNoDrops) {
    m_drop.Revoke();
    EXPECT_EQ(Drag(DragDriver(m_target.GetHostWidget(), {QPoint(80, 12)})), DROPEFFECT_NONE);
    EXPECT_TRUE(m_drop.calls.empty());
    EXPECT_TRUE(m_drop.Register(&m_target));
    EXPECT_FALSE(m_drop.Register(&m_source)); // one window per target
}

// Qt's own drag loop, as the program runs it, with the hand played by the window system's input: the button
// goes down over the source, the pointer travels to the target and the button comes up there.
TEST_F(DragDropTest, ARealDragLoopCarriesTheTextToTheWindowWhereTheButtonComesUp) {
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        GTEST_SKIP() << "the offscreen platform has no drag loop; the run under Xvfb has";
    m_source.SetWindowPos(nullptr, 20, 20, 100, 100, SWP_NOZORDER | SWP_SHOWWINDOW);
    m_target.SetWindowPos(nullptr, 200, 60, 100, 100, SWP_NOZORDER | SWP_SHOWWINDOW);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_source.GetHostWidget()));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_target.GetHostWidget()));
    QWindow* from = m_source.GetHostWidget()->windowHandle();
    QWindow* to = m_target.GetHostWidget()->windowHandle();

    QTest::mousePress(from, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    // The steps run inside the drag loop; the last one only ends a loop that went astray.
    QTimer::singleShot(50, to, [to] { QTest::mouseMove(to, QPoint(20, 20)); });
    QTimer::singleShot(150, to, [to] { QTest::mouseMove(to, QPoint(80, 12)); });
    QTimer::singleShot(300, to, [to] { QTest::mouseRelease(to, Qt::LeftButton, Qt::NoModifier, QPoint(80, 12)); });
    QTimer::singleShot(5000, to, [to] { QTest::keyClick(to, Qt::Key_Escape); });

    COleDataSource source;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, kText.size());
    std::memcpy(GlobalLock(mem), kText.data(), kText.size());
    GlobalUnlock(mem);
    source.CacheGlobalData(CF_TEXT, mem);
    EXPECT_EQ(source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE), DROPEFFECT_MOVE);
    EXPECT_EQ(m_drop.dropped, kText);
    ASSERT_FALSE(m_drop.calls.empty());
    EXPECT_EQ(m_drop.calls.front(), "enter");
    EXPECT_EQ(m_drop.calls.back(), "drop move");
    ASSERT_FALSE(m_drop.points.empty());
    EXPECT_EQ(m_drop.points.back(), CPoint(78, 10));
}
