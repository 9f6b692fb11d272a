#include "platform/gui/window/HostWidget.h"
#include "platform/gui/window/SystemMetrics.h"
#include "platform/gui/window/Wnd.h"

#include <QCoreApplication>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <vector>

namespace {

class ScrollingWnd : public CWnd {
public:
    std::vector<CSize> sizes;
    std::vector<std::pair<UINT, UINT>> vscroll; // code, position
    std::vector<UINT> hscroll;
    void OnSize(UINT, int cx, int cy) override { sizes.emplace_back(cx, cy); }
    void OnVScroll(UINT code, UINT pos, CScrollBar*) override { vscroll.emplace_back(code, pos); }
    void OnHScroll(UINT code, UINT, CScrollBar*) override { hscroll.push_back(code); }
};

BOOL CreateTop(CWnd& wnd, const RECT& rect, DWORD exStyle = 0) {
    return wnd.CreateEx(exStyle, nullptr, "", WS_POPUP | WS_VISIBLE, rect, nullptr, 0);
}

SCROLLINFO Info(UINT mask, int nMin, int nMax, UINT nPage, int nPos) {
    return SCROLLINFO{sizeof(SCROLLINFO), mask, nMin, nMax, nPage, nPos, 0};
}

} // namespace

TEST(ScrollInfoClamping, PositionAndPageAreKeptInsideTheRange) {
    SCROLLINFO past = Info(SIF_ALL, 0, 99, 10, 200);
    ClampScrollInfo(past);
    EXPECT_EQ(past.nPos, 90); // the last position at which a whole page fits
    EXPECT_EQ(ScrollInfoMaxPos(past), 90);

    SCROLLINFO bigPage = Info(SIF_ALL, 0, 9, 50, 5);
    ClampScrollInfo(bigPage);
    EXPECT_EQ(bigPage.nPage, 10u);
    EXPECT_EQ(bigPage.nPos, 0);
    EXPECT_FALSE(ScrollInfoCanScroll(bigPage));

    SCROLLINFO before = Info(SIF_ALL, 5, 50, 0, -3);
    ClampScrollInfo(before);
    EXPECT_EQ(before.nPos, 5);
    EXPECT_EQ(ScrollInfoMaxPos(before), 50); // no page: every position up to the maximum
    EXPECT_TRUE(ScrollInfoCanScroll(before));

    SCROLLINFO empty = Info(SIF_ALL, 0, 0, 0, 0);
    EXPECT_FALSE(ScrollInfoCanScroll(empty));
    SCROLLINFO exact = Info(SIF_ALL, 0, 99, 100, 0);
    EXPECT_FALSE(ScrollInfoCanScroll(exact));
    SCROLLINFO oneMore = Info(SIF_ALL, 0, 100, 100, 0);
    EXPECT_TRUE(ScrollInfoCanScroll(oneMore));

    SCROLLINFO reversed = Info(SIF_ALL, 10, 2, 3, 7);
    ClampScrollInfo(reversed);
    EXPECT_EQ(reversed.nMax, 10);
    EXPECT_EQ(reversed.nPos, 10);

    SCROLLINFO extreme = Info(SIF_ALL, INT32_MIN, INT32_MAX, 0xFFFFFFFFu, INT32_MAX);
    ClampScrollInfo(extreme);
    EXPECT_EQ(extreme.nPos, INT32_MIN + 1); // a page one short of the whole range leaves one step
}

TEST(StandardScrollBars, ARangeToScrollShowsTheBarAndNarrowsTheClientAtOnce) {
    ScrollingWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 200, 100), WS_EX_CLIENTEDGE));
    wnd.sizes.clear();
    const int bar = GetSystemMetrics(SM_CXVSCROLL);

    SCROLLINFO si = Info(SIF_RANGE | SIF_PAGE, 0, 299, 96, 0);
    EXPECT_TRUE(wnd.SetScrollInfo(SB_VERT, &si)); // success, though the position is 0
    EXPECT_TRUE(wnd.GetStyle() & WS_VSCROLL);
    ASSERT_EQ(wnd.sizes.size(), 1u);
    EXPECT_EQ(wnd.sizes[0], CSize(196 - bar, 96));
    CRect client;
    wnd.GetClientRect(&client);
    EXPECT_EQ(client.Width(), 196 - bar);
    EXPECT_EQ(wnd.GetHost()->ScrollBar(SB_VERT)->geometry(), QRect(2 + 196 - bar, 2, bar, 96));

    // A position past the end is clamped, and reading gives back the clamped record.
    EXPECT_EQ(wnd.SetScrollPos(SB_VERT, 1000), 0);
    SCROLLINFO got{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(wnd.GetScrollInfo(SB_VERT, &got));
    EXPECT_EQ(got.nPos, 299 - 95);
    EXPECT_EQ(got.nPage, 96u);
    // The mask argument, not what the record held, says what is read.
    SCROLLINFO posOnly{sizeof(SCROLLINFO), SIF_ALL, -1, -1, 7, -1, -1};
    ASSERT_TRUE(wnd.GetScrollInfo(SB_VERT, &posOnly, SIF_POS));
    EXPECT_EQ(posOnly.nPos, 204);
    EXPECT_EQ(posOnly.nMax, -1);
    EXPECT_EQ(posOnly.nPage, 7u);
    EXPECT_EQ(posOnly.fMask, SIF_POS);
    SCROLLINFO all{sizeof(SCROLLINFO), SIF_POS, -1, -1, 7, -1, -1};
    ASSERT_TRUE(wnd.GetScrollInfo(SB_VERT, &all));
    EXPECT_EQ(all.nMax, 299);
    EXPECT_EQ(all.nPage, 96u);
    EXPECT_EQ(wnd.GetScrollLimit(SB_VERT), 204);
    EXPECT_EQ(wnd.GetHost()->ScrollBar(SB_VERT)->value(), 204);

    // Nothing left to scroll: the bar goes and the client widens again.
    si = Info(SIF_RANGE | SIF_PAGE, 0, 0, 0, 0);
    wnd.SetScrollInfo(SB_VERT, &si);
    EXPECT_FALSE(wnd.GetStyle() & WS_VSCROLL);
    EXPECT_EQ(wnd.sizes.back(), CSize(196, 96));
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 0);
}

TEST(StandardScrollBars, DisableNoScrollKeepsAShownBarAndLeavesAHiddenOneHidden) {
    ScrollingWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 200, 100)));
    SCROLLINFO si = Info(SIF_RANGE | SIF_PAGE, 0, 500, 100, 0);
    wnd.SetScrollInfo(SB_HORZ, &si);
    ASSERT_TRUE(wnd.GetStyle() & WS_HSCROLL);

    si = Info(SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL, 0, 0, 0, 0);
    wnd.SetScrollInfo(SB_HORZ, &si);
    EXPECT_TRUE(wnd.GetStyle() & WS_HSCROLL);
    EXPECT_FALSE(wnd.GetHost()->ScrollBar(SB_HORZ)->isEnabled());

    wnd.ShowScrollBar(SB_BOTH, FALSE);
    EXPECT_FALSE(wnd.GetStyle() & (WS_HSCROLL | WS_VSCROLL));
    wnd.SetScrollInfo(SB_HORZ, &si);
    EXPECT_FALSE(wnd.GetStyle() & WS_HSCROLL);

    // Setting only the position never shows a bar.
    SCROLLINFO pos = Info(SIF_POS, 0, 0, 0, 3);
    wnd.SetScrollInfo(SB_VERT, &pos);
    EXPECT_FALSE(wnd.GetStyle() & WS_VSCROLL);
}

TEST(StandardScrollBars, BarActionsBecomeScrollCodesAndOnlyTheProgramMovesTheBar) {
    ScrollingWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 200, 100)));
    SCROLLINFO si = Info(SIF_ALL, 0, 99, 10, 20);
    wnd.SetScrollInfo(SB_VERT, &si);
    QScrollBar* bar = wnd.GetHost()->ScrollBar(SB_VERT);

    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(bar->value(), 20);
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 20);
    std::vector<UINT> codes;
    for (const auto& s : wnd.vscroll)
        codes.push_back(s.first);
    EXPECT_EQ(codes, (std::vector<UINT>{SB_LINEDOWN, SB_PAGEUP, SB_BOTTOM}));

    // Dragging the thumb reports the track position; the position stays until the program sets it.
    wnd.vscroll.clear();
    bar->setSliderDown(true);
    bar->setSliderPosition(55);
    SCROLLINFO track{sizeof(SCROLLINFO), SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0, 0};
    wnd.GetScrollInfo(SB_VERT, &track);
    EXPECT_EQ(track.nTrackPos, 55);
    EXPECT_EQ(track.nPos, 20);
    bar->setSliderDown(false);
    EXPECT_EQ(wnd.vscroll,
              (std::vector<std::pair<UINT, UINT>>{{SB_THUMBTRACK, 55}, {SB_THUMBPOSITION, 55}, {SB_ENDSCROLL, 0}}));
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 20);
    EXPECT_EQ(bar->value(), 20);
}

TEST(StandardScrollBars, WindowsWithoutBarsAnswerSafely) {
    CWnd none;
    SCROLLINFO si = Info(SIF_ALL, 0, 10, 2, 5);
    EXPECT_FALSE(none.GetScrollInfo(SB_VERT, &si));
    EXPECT_EQ(none.SetScrollInfo(SB_VERT, &si), 0);
    EXPECT_EQ(none.GetScrollPos(SB_HORZ), 0);
    ScrollingWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 50, 50)));
    EXPECT_FALSE(wnd.GetScrollInfo(SB_CTL, &si));
    EXPECT_FALSE(wnd.GetScrollInfo(SB_VERT, nullptr));
}
