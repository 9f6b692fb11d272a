#include "platform/gui/window/Wnd.h"

#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A window the program draws that writes down the pointer moves it hears of.
class MoveWnd : public CWnd {
public:
    std::vector<CPoint> moves;
    void OnMouseMove(UINT /*nFlags*/, CPoint point) override { moves.push_back(point); }
};

bool CreateShown(CWnd& wnd, const RECT& rect) {
    return wnd.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, rect, nullptr, 0) &&
           QTest::qWaitForWindowExposed(wnd.GetHostWidget());
}

} // namespace

TEST(CaptureRelease, TheWindowUnderThePointerHearsOfItWhereItStands) {
    MoveWnd wnd;
    ASSERT_TRUE(CreateShown(wnd, CRect(50, 60, 250, 160)));
    wnd.SetCapture();
    QTest::mouseRelease(wnd.GetHostWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 40));
    wnd.moves.clear();

    ReleaseCapture();
    EXPECT_TRUE(wnd.moves.empty()); // posted, as the platform queues it
    ASSERT_TRUE(QTest::qWaitFor([&] { return !wnd.moves.empty(); }, 1000));
    EXPECT_EQ(wnd.moves.front(), CPoint(30, 40));

    // Without a capture to give up nothing moves.
    wnd.moves.clear();
    ReleaseCapture();
    QTest::qWait(20);
    EXPECT_TRUE(wnd.moves.empty());
}
