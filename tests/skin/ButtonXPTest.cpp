#include "skin/ButtonXP.h"
#include "skin/Hls.h"
#include "skin/MouseTracker.h"
#include "skin/ToolBarXP.h"

#include "platform/gui/controls/Edit.h"
#include "platform/gui/dialogs/Dialog.h"
#include "platform/gui/draw/Bitmap.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/frame/FrameWnd.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/frame/WinApp.h"
#include "res/ResourceTables.h"
#include "tests/support/ToolBarPicture.h"

#include <QCursor>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

QColor Q(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
QColor Sys(int index) { return Q(GetSysColor(index)); }
QColor Hls(int index, int l, int s) { return Q(HLSTransform(GetSysColor(index), l, s)); }

QImage Grab(CWnd& wnd) { return wnd.GetHostWidget()->grab().toImage(); }

// A pointer already at the point reports no move, so it steps next to it first.
void PointAt(CWnd& wnd, QPoint pos) {
    QWidget* widget = wnd.GetHostWidget();
    if (QCursor::pos() == widget->mapToGlobal(pos))
        QTest::mouseMove(widget, pos + QPoint(1, 0));
    QTest::mouseMove(widget, pos);
}

// ---------------------------------------------------------------------------------------------------------------

// Counts what the tracker makes its window do.
class TrackedWnd : public CWnd {
public:
    void OnPaint() override {
        ++paints;
        Default();
    }
    void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* params) override {
        ++frames;
        CWnd::OnNcCalcSize(bCalcValidRects, params);
    }
    int paints = 0;
    int frames = 0;
};

TEST(MouseTracker, HoversFromTheFirstMoveToTheLeaveOfTheTrackedWindow) {
    TrackedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "tracked", WS_POPUP, 10, 10, 100, 60, nullptr, 0));
    TrackedWnd child;
    ASSERT_TRUE(child.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(5, 5, 40, 30), &wnd, 1));
    wnd.ShowWindow(SW_SHOW);
    wnd.UpdateWindow();
    CMouseTracker tracker;
    tracker.Init(&wnd, CMouseTracker::kRepaint | CMouseTracker::kFrameChanged);
    const int frames = wnd.frames;

    EXPECT_TRUE(tracker.OnMouseMove());
    EXPECT_TRUE(tracker.IsHovering());
    EXPECT_EQ(wnd.frames, frames + 1);
    wnd.UpdateWindow();
    const int paints = wnd.paints;
    EXPECT_GT(paints, 0);
    EXPECT_FALSE(tracker.OnMouseMove()); // already hovering: nothing changes
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.paints, paints);

    // Over a child the child's leave is tracked instead; the window's own leave then means nothing.
    EXPECT_FALSE(tracker.OnMouseMove(&child));
    EXPECT_FALSE(tracker.OnMouseLeave());
    EXPECT_TRUE(tracker.IsHovering());
    EXPECT_TRUE(tracker.OnMouseLeave(&child));
    EXPECT_FALSE(tracker.IsHovering());
    EXPECT_EQ(wnd.frames, frames + 2);
    wnd.DestroyWindow();
}

// ---------------------------------------------------------------------------------------------------------------

constexpr UINT kDialog = 9805;
constexpr int kApply = 1020;
const DlgTemplate kXPDialog[] = {
    {kDialog,
     "Flat",
     260,
     120,
     WS_POPUP | WS_CAPTION,
     {
         {IDOK, DlgItemKind::PushButton, "OK", 10, 10, 80, 26, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
         {kApply, DlgItemKind::PushButton, "Apply", 100, 10, 80, 26, WS_VISIBLE | WS_TABSTOP},
     }},
};

class ButtonXPTest : public testing::Test {
protected:
    void SetUp() override {
        CResourceTable::AddDialogs(kXPDialog);
        ASSERT_TRUE(m_dialog.Create(kDialog));
        ASSERT_TRUE(m_ok.SubclassDlgItem(IDOK, &m_dialog));
        ASSERT_TRUE(m_apply.SubclassDlgItem(kApply, &m_dialog));
        m_dialog.ShowWindow(SW_SHOW);
        QWidget* window = m_dialog.GetHostWidget()->window();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        PointAt(m_dialog, QPoint(200, 100));
    }
    void TearDown() override { m_dialog.DestroyWindow(); }

    // Pixels of the caption's full strokes, in any of the colours.
    static int CountNear(const QImage& image, QColor colour) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                n += std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                         std::abs(c.blue() - colour.blue()) <
                     12;
            }
        return n;
    }

    CDialog m_dialog{kDialog};
    CButtonXP m_ok;
    CButtonXP m_apply;
};

TEST_F(ButtonXPTest, TheDefaultAndTheFocusedButtonHaveTheDarkFrame) {
    EXPECT_EQ(m_apply.GetButtonType() & BS_TYPEMASK, BS_OWNERDRAW);
    QImage apply = Grab(m_apply);
    EXPECT_EQ(apply.pixelColor(0, 0), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(apply.pixelColor(79, 25), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(apply.pixelColor(1, 1), Hls(COLOR_3DFACE, 15, 0));
    EXPECT_GT(CountNear(apply, Sys(COLOR_BTNTEXT)), 3);
    EXPECT_EQ(Grab(m_ok).pixelColor(0, 0), Sys(COLOR_3DDKSHADOW));

    m_apply.SetFocus();
    apply = Grab(m_apply);
    EXPECT_EQ(apply.pixelColor(0, 0), Sys(COLOR_3DDKSHADOW));
    // The focus rectangle, two pixels in, is dotted over the face.
    EXPECT_NE(apply.pixelColor(2, 2), Hls(COLOR_3DFACE, 15, 0));
    EXPECT_EQ(apply.pixelColor(1, 1), Hls(COLOR_3DFACE, 15, 0));

    m_apply.EnableWindow(FALSE);
    apply = Grab(m_apply);
    EXPECT_EQ(apply.pixelColor(1, 1), Hls(COLOR_3DFACE, 15, 0));
    EXPECT_EQ(CountNear(apply, Sys(COLOR_BTNTEXT)), 0);
    EXPECT_GT(CountNear(apply, Sys(COLOR_GRAYTEXT)), 3);
}

TEST_F(ButtonXPTest, TheMouseOverTheButtonAndAPressTurnItToTheSelectionColours) {
    PointAt(m_apply, QPoint(40, 13));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Grab(m_apply).pixelColor(0, 0) == Sys(COLOR_HIGHLIGHT); }));
    QImage image = Grab(m_apply);
    EXPECT_EQ(image.pixelColor(1, 1), Hls(COLOR_HIGHLIGHT, 80, -66));
    EXPECT_GT(CountNear(image, QColor(0, 0, 0)), 3);

    m_apply.SetState(TRUE);
    image = Grab(m_apply);
    EXPECT_EQ(image.pixelColor(1, 1), Hls(COLOR_HIGHLIGHT, 50, -50));
    EXPECT_GT(CountNear(image, QColor(0xF0, 0xF0, 0xF0)), 3);
    m_apply.SetState(FALSE);

    PointAt(m_dialog, QPoint(200, 100));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Grab(m_apply).pixelColor(0, 0) == Sys(COLOR_BTNSHADOW); }));
    EXPECT_EQ(Grab(m_apply).pixelColor(1, 1), Hls(COLOR_3DFACE, 15, 0));
}

// ---------------------------------------------------------------------------------------------------------------

constexpr UINT kBar = 7301;
const ToolBarTemplate kBars[] = {{kBar, 16, 15, {40001, 0, 40002, 40003}}};
constexpr int kControlId = 5000;

// The frame a tool bar sits in; it records the commands it is sent.
class BarFrame : public CFrameWnd {
public:
    BarFrame() { m_bAutoMenuEnable = FALSE; }
    int OnCreate(LPCREATESTRUCT cs) override {
        if (CFrameWnd::OnCreate(cs) == -1)
            return -1;
        return m_bar.Create(this) && m_bar.LoadToolBar(kBar) ? 0 : -1;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        commands.push_back(LOWORD(static_cast<uint32_t>(wParam)));
        return CFrameWnd::OnCommand(wParam, lParam);
    }
    CToolBarXP m_bar;
    std::vector<UINT> commands;
};

class ToolBarXPTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterResourceTables();
        CResourceTable::AddToolBars(kBars);
        RegisterBitmapResource(kBar, ThreeSquaresStrip());
        m_frame = new BarFrame; // deletes itself with its window
        ASSERT_TRUE(m_frame->LoadFrame(128));
        m_app.m_pMainWnd = m_frame;
        m_frame->MoveWindow(40, 40, 400, 200);
        m_frame->ShowWindow(SW_SHOW);
        QWidget* host = m_frame->GetHostWidget();
        host->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(host));
        PointAt(*m_frame, QPoint(300, 150)); // away from the bar
    }
    void TearDown() override { m_frame->DestroyWindow(); }

    CToolBarXP& Bar() { return m_frame->m_bar; }
    CRect ItemRect(int index) {
        CRect rect;
        Bar().GetItemRect(index, &rect);
        return rect;
    }

    CWinApp m_app;
    BarFrame* m_frame = nullptr;
};

TEST_F(ToolBarXPTest, ButtonsAreFlatOnALightFaceAndTakeTheSelectionColoursWhenHotOrChecked) {
    Bar().SendMessage(TB_SETSTATE, 40002, TBSTATE_ENABLED | TBSTATE_CHECKED);
    Bar().SendMessage(TB_SETSTATE, 40003, 0); // disabled
    QImage image = Grab(Bar());
    const CRect first = ItemRect(0);
    const CRect separator = ItemRect(1);
    const CRect checked = ItemRect(2);
    const CRect disabled = ItemRect(3);
    EXPECT_EQ(image.pixelColor(1, 1), Hls(COLOR_3DFACE, 20, 0));
    EXPECT_EQ(image.pixelColor(first.left, first.top), Hls(COLOR_3DFACE, 20, 0)); // no frame at rest
    EXPECT_EQ(image.pixelColor(first.left + 3 + 5, first.top + 3 + 5), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor((separator.left + separator.right) / 2 - 1, separator.top + 5),
              Hls(COLOR_3DFACE, -15, 0));
    EXPECT_EQ(image.pixelColor(checked.left, checked.top), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(image.pixelColor(checked.left + 1, checked.top + 1), Hls(COLOR_HIGHLIGHT, 80, -66));
    // A disabled button shows only its flat shadow, three pixels in.
    EXPECT_EQ(image.pixelColor(disabled.left + 3 + 5, disabled.top + 3 + 5), Hls(COLOR_3DFACE, -27, 0));

    PointAt(Bar(), QPoint(first.CenterPoint().x, first.CenterPoint().y));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Bar().SendMessage(TB_GETHOTITEM) == 0; }));
    image = Grab(Bar());
    EXPECT_EQ(image.pixelColor(first.left, first.top), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(image.pixelColor(first.left + 1, first.top + 1), Hls(COLOR_HIGHLIGHT, 70, -57));
    // Hot: the image lifted to two pixels in over its shadow at four.
    EXPECT_EQ(image.pixelColor(first.left + 2 + 3, first.top + 2 + 3), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(first.left + 4 + 12, first.top + 4 + 11), Hls(COLOR_HIGHLIGHT, 50, -66));
}

TEST_F(ToolBarXPTest, ADropDownArrowSendsTheNegatedCommandToTheFrame) {
    Bar().SetButtonInfo(0, 100, TBSTYLE_DROPDOWN, 0);
    const CRect rect = ItemRect(0);
    QImage image = Grab(Bar());
    const int mid = (rect.top + rect.bottom) / 2;
    EXPECT_EQ(image.pixelColor(rect.right - 7, mid + 1), Sys(COLOR_BTNTEXT)); // the arrow's point
    EXPECT_EQ(image.pixelColor(rect.right - 9, mid - 1), Sys(COLOR_BTNTEXT));
    EXPECT_EQ(image.pixelColor(rect.right - 4, mid - 1), Hls(COLOR_3DFACE, 20, 0));

    m_frame->commands.clear();
    QTest::mouseClick(Bar().GetHostWidget(), Qt::LeftButton, {}, QPoint(rect.right - 5, mid));
    ASSERT_FALSE(m_frame->commands.empty());
    EXPECT_EQ(m_frame->commands.front(), 65436u);
}

TEST_F(ToolBarXPTest, ControlsOnSeparatorsHideWhileTheBarIsDockedVertically) {
    Bar().SetButtonInfo(1, kControlId, TBSTYLE_SEP, 60);
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &Bar(), kControlId));

    // Asked without committing, the bar only answers its size.
    const CSize vertical = Bar().CalcDynamicLayout(-1, LM_VERTDOCK);
    EXPECT_TRUE(edit.IsWindowVisible());
    EXPECT_EQ(vertical.cy, 2 + 3 * 22 + 2); // three buttons; the separator that holds the control left out

    Bar().CalcDynamicLayout(-1, LM_VERTDOCK | LM_COMMIT);
    EXPECT_FALSE(edit.IsWindowVisible());
    EXPECT_TRUE(Bar().SendMessage(TB_GETSTATE, kControlId) & TBSTATE_HIDDEN);

    Bar().CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
    EXPECT_TRUE(edit.IsWindowVisible());
    EXPECT_FALSE(Bar().SendMessage(TB_GETSTATE, kControlId) & TBSTATE_HIDDEN);
    CRect place = ItemRect(1);
    place.DeflateRect(1, 1);
    CRect rect;
    edit.GetWindowRect(&rect);
    Bar().ScreenToClient(&rect);
    EXPECT_EQ(rect, place);
}

} // namespace
