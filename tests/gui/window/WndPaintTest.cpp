#include "platform/gui/draw/SysColor.h"
#include "platform/gui/window/ClientDC.h"
#include "platform/gui/window/HostWidget.h"
#include "platform/gui/window/PaintDC.h"
#include "platform/gui/window/Wnd.h"

#include <QCoreApplication>
#include <QImage>
#include <QPushButton>
#include <QRegion>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

QRgb Rgb(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

// Fills what it is asked to paint with one colour and records the order of erase and paint.
class PaintingWnd : public CWnd {
public:
    COLORREF color = RGB(200, 0, 0);
    std::vector<std::string> log;
    std::vector<CRect> paintRects;
    BOOL OnEraseBkgnd(CDC* pDC) override {
        log.emplace_back("erase");
        return CWnd::OnEraseBkgnd(pDC);
    }
    std::vector<QRegion> paintRegions;
    void OnPaint() override {
        log.emplace_back("paint");
        CPaintDC dc(this);
        paintRects.push_back(GetPaintRect());
        paintRegions.push_back(GetPaintRegion());
        CRect r = GetPaintRect();
        dc.FillSolidRect(&r, color);
    }
};

BOOL CreateTop(CWnd& wnd, const RECT& rect, DWORD exStyle = 0, LPCTSTR className = nullptr) {
    return wnd.CreateEx(exStyle, className, "", WS_POPUP | WS_VISIBLE, rect, nullptr, 0);
}

// What the screen shows of a window once Qt has painted what is pending (its window's backing store), where
// QWidget::grab would paint it afresh.
QImage Screen(CWnd& wnd) {
    QWidget* widget = wnd.GetHostWidget();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(widget));
    QCoreApplication::processEvents();
    return widget->screen()->grabWindow(widget->winId(), 0, 0, widget->width(), widget->height()).toImage();
}

} // namespace

TEST(WindowGeometry, FrameAndEdgeSurroundTheClientArea) {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(WS_EX_CLIENTEDGE, nullptr, "", WS_POPUP | WS_BORDER | WS_VISIBLE, CRect(100, 50, 200, 100),
                             nullptr, 0));
    CRect window, client;
    wnd.GetWindowRect(&window);
    wnd.GetClientRect(&client);
    EXPECT_EQ(window, CRect(100, 50, 200, 100));
    EXPECT_EQ(client, CRect(0, 0, 94, 44)); // one pixel of border and two of edge on each side
    CPoint origin(0, 0);
    wnd.ClientToScreen(&origin);
    EXPECT_EQ(origin, CPoint(103, 53));
    CPoint back = origin;
    wnd.ScreenToClient(&back);
    EXPECT_EQ(back, CPoint(0, 0));

    // A child is placed in its parent's client coordinates.
    CWnd child;
    ASSERT_TRUE(child.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &wnd, 1));
    CRect childWindow;
    child.GetWindowRect(&childWindow);
    EXPECT_EQ(childWindow.TopLeft(), CPoint(103, 53));
    CRect mapped(0, 0, 10, 10);
    child.MapWindowPoints(&wnd, &mapped);
    EXPECT_EQ(mapped, CRect(0, 0, 10, 10));
}

TEST(WindowGeometry, MovingAndChangingTheEdgeSendSizeAtOnceEvenWhenHidden) {
    struct Sizes : CWnd {
        std::vector<CSize> sizes;
        std::vector<CPoint> moves;
        void OnSize(UINT, int cx, int cy) override { sizes.emplace_back(cx, cy); }
        void OnMove(int x, int y) override { moves.emplace_back(x, y); }
    };
    CWnd parent;
    ASSERT_TRUE(CreateTop(parent, CRect(0, 0, 300, 300)));
    Sizes wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_CHILD, CRect(0, 0, 40, 30), &parent, 2));
    wnd.sizes.clear();
    wnd.MoveWindow(5, 6, 60, 50);
    ASSERT_EQ(wnd.sizes.size(), 1u);
    EXPECT_EQ(wnd.sizes[0], CSize(60, 50));
    EXPECT_EQ(wnd.moves.back(), CPoint(5, 6));
    wnd.MoveWindow(5, 6, 60, 50); // no change, no message
    EXPECT_EQ(wnd.sizes.size(), 1u);
    wnd.ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    EXPECT_EQ(wnd.sizes.back(), CSize(56, 46));
    EXPECT_TRUE(wnd.GetExStyle() & WS_EX_CLIENTEDGE);
    wnd.MoveWindow(0, 0, -5, -5); // nonsense sizes become empty
    EXPECT_EQ(wnd.sizes.back(), CSize(0, 0));
    EXPECT_FALSE(wnd.IsWindowVisible());
}

TEST(WindowState, ShowEnableAndTextBehaveAsThePlatformReportsThem) {
    struct Watching : CWnd {
        std::vector<BOOL> shows, enables;
        void OnShowWindow(BOOL b, UINT) override { shows.push_back(b); }
        void OnEnable(BOOL b) override { enables.push_back(b); }
    };
    CWnd parent;
    ASSERT_TRUE(CreateTop(parent, CRect(0, 0, 200, 200)));
    Watching wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "\xC7\xBD", WS_CHILD, CRect(0, 0, 20, 20), &parent, 9));
    EXPECT_FALSE(wnd.GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(wnd.ShowWindow(SW_SHOW));
    EXPECT_TRUE(wnd.ShowWindow(SW_SHOW));
    EXPECT_TRUE(wnd.GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(wnd.ShowWindow(SW_HIDE));
    EXPECT_EQ(wnd.shows, (std::vector<BOOL>{TRUE, FALSE}));

    EXPECT_FALSE(wnd.EnableWindow(FALSE));
    EXPECT_TRUE(wnd.GetStyle() & WS_DISABLED);
    EXPECT_TRUE(wnd.EnableWindow(TRUE));
    EXPECT_EQ(wnd.enables, (std::vector<BOOL>{FALSE, TRUE}));
    // A disabled parent leaves the child's own state alone, as the platform does.
    parent.EnableWindow(FALSE);
    EXPECT_TRUE(wnd.IsWindowEnabled());
    parent.EnableWindow(TRUE);

    CString text;
    wnd.GetWindowText(text);
    EXPECT_EQ(text, CString("\xC7\xBD"));
    wnd.SetWindowText("\xC7\xBD\xC3\xE6 A"); // "墙面 A"
    char buffer[4];
    // Three bytes of room hold the first double-byte character only, never half of the second.
    EXPECT_EQ(wnd.GetWindowText(buffer, 4), 2);
    EXPECT_STREQ(buffer, "\xC7\xBD");
    EXPECT_EQ(wnd.GetWindowTextLength(), 6);

    // An attached control shows the text in Unicode and gives it back in GBK.
    QWidget host;
    auto* button = new QPushButton(&host);
    CWnd control;
    ASSERT_TRUE(control.SubclassWindow(button));
    control.SetWindowText("\xC7\xBD\xC3\xE6");
    EXPECT_EQ(button->text(), QString::fromUtf8("\xE5\xA2\x99\xE9\x9D\xA2"));
    button->setText(QString::fromUtf8("\xF0\x9F\x98\x80x")); // GBK cannot carry the first character
    control.GetWindowText(text);
    EXPECT_EQ(text, CString("?x"));
}

TEST(WindowState, TitleTipIsATopMostPopupThatDoesNotTakeActivation) {
    CWnd main;
    ASSERT_TRUE(CreateTop(main, CRect(0, 0, 200, 200)));
    main.GetHostWidget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.GetHostWidget()));
    CWnd tip;
    ASSERT_TRUE(tip.CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, nullptr, nullptr, WS_POPUP | WS_BORDER,
                             CRect(0x80000000, 0x80000000, 0, 0), nullptr, 0));
    EXPECT_FALSE(tip.IsWindowVisible());
    tip.SetWindowPos(&CWnd::wndTop, 30, 40, 80, 20, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    EXPECT_TRUE(tip.IsWindowVisible());
    CRect r;
    tip.GetWindowRect(&r);
    EXPECT_EQ(r, CRect(30, 40, 110, 60));
    EXPECT_TRUE(tip.GetHostWidget()->windowFlags() & Qt::WindowStaysOnTopHint);
    QCoreApplication::processEvents();
    EXPECT_EQ(CWnd::GetActiveWindow(), &main);
    EXPECT_EQ(tip.GetParent(), nullptr);
}

TEST(WindowPainting, EraseComesBeforePaintAndBothCoverTheInvalidRectangle) {
    PaintingWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 60, 40)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(wnd.GetHostWidget())); // so that the screen keeps what each paint drew
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"erase", "paint"}));
    EXPECT_EQ(wnd.paintRects.back(), CRect(0, 0, 60, 40));

    wnd.log.clear();
    wnd.color = RGB(0, 0, 255);
    CRect part(10, 5, 20, 15);
    wnd.InvalidateRect(&part, FALSE);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"paint"}));
    EXPECT_EQ(wnd.paintRects.back(), part);
    EXPECT_EQ(wnd.GetPaintRect(), CRect(0, 0, 60, 40)); // outside a paint: the whole client area
    wnd.UpdateWindow();                                 // nothing invalid, nothing painted
    EXPECT_EQ(wnd.log.size(), 1u);

    const QImage shown = Screen(wnd);
    EXPECT_EQ(shown.pixel(10, 5), Rgb(RGB(0, 0, 255)));
    EXPECT_EQ(shown.pixel(19, 14), Rgb(RGB(0, 0, 255)));
    EXPECT_EQ(shown.pixel(20, 14), Rgb(RGB(200, 0, 0)));
    EXPECT_EQ(shown.pixel(9, 5), Rgb(RGB(200, 0, 0)));
}

// Rectangles far outside any window (a grid scrolled a long way, a rectangle left at its extremes) are
// clipped to the client area; widths wrap as the platform's 32-bit arithmetic wraps them.
TEST(WindowPainting, ExtremeRectanglesCoverOnlyWhatTheyMeetOfTheClient) {
    const CRect everything(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(everything.Width(), -1);
    EXPECT_EQ(CRect(INT_MAX, 0, INT_MIN, 0).Width(), 1);

    PaintingWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 60, 40)));
    wnd.UpdateWindow();
    wnd.InvalidateRect(&everything, FALSE);
    CRect update;
    EXPECT_TRUE(wnd.GetUpdateRect(&update));
    EXPECT_EQ(update, CRect(0, 0, 60, 40));
    wnd.ValidateRect(&everything);
    EXPECT_FALSE(wnd.GetUpdateRect(&update));

    const CRect farAway(INT_MAX - 10, 5, INT_MAX, 30);
    wnd.InvalidateRect(&farAway, TRUE);
    EXPECT_FALSE(wnd.GetUpdateRect(&update));
    wnd.UpdateScreen(&everything);

    // Moved to the far edge of the coordinate range, a window stays a window of its size.
    wnd.MoveWindow(INT_MAX - 5, INT_MIN + 5, 60, 40);
    CRect client;
    wnd.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 60, 40));
}

TEST(WindowPainting, ClassBackgroundIsWhatTheDefaultEraseFills) {
    WNDCLASS wc{CS_DBLCLKS, nullptr,         0,       0,
                nullptr,    nullptr,         nullptr, reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_3DFACE + 1)),
                nullptr,    "FaceBackground"};
    ASSERT_TRUE(AfxRegisterClass(&wc));
    EXPECT_TRUE(AfxRegisterClass(&wc)); // registering twice is no failure for the framework
    EXPECT_EQ(RegisterClass(&wc), 0);
    WNDCLASS found{};
    EXPECT_TRUE(GetClassInfo(nullptr, "FaceBackground", &found));
    EXPECT_FALSE(GetClassInfo(nullptr, "Unknown", &found));

    CWnd wnd; // the default OnPaint draws nothing
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 30, 20), 0, "FaceBackground"));
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.GetClientImage()->pixel(29, 19), Rgb(GetSysColor(COLOR_3DFACE)));
}

TEST(WindowPainting, DrawingOutsidePaintStaysUntilPaintedOver) {
    PaintingWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 60, 40)));
    wnd.UpdateWindow();
    CDC* dc = wnd.GetDC();
    ASSERT_NE(dc, nullptr);
    dc->FillSolidRect(40, 0, 20, 40, RGB(0, 255, 0));
    EXPECT_EQ(wnd.ReleaseDC(dc), 1);
    // Another part repainting leaves the drawing alone: the image is retained, not redrawn.
    CRect left(0, 0, 10, 10);
    wnd.InvalidateRect(&left);
    wnd.UpdateWindow();
    QCoreApplication::processEvents();
    const QImage shown = Screen(wnd);
    EXPECT_EQ(shown.pixel(50, 20), Rgb(RGB(0, 255, 0)));
    EXPECT_EQ(shown.pixel(5, 5), Rgb(RGB(200, 0, 0)));
}

// A window that only paints keeps no image of its own: it paints straight on the screen. Drawing between its
// paints makes it keep one, which the screen shows, until a paint covers the window again; an XOR mark drawn then
// finds the screen as the paint left it.
TEST(WindowPainting, DrawingBetweenPaintsKeepsAnImageOnlyUntilAPaintCoversTheWindow) {
    PaintingWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 60, 40)));
    EXPECT_EQ(Screen(wnd).pixel(30, 20), Rgb(RGB(200, 0, 0)));
    EXPECT_FALSE(wnd.GetHost()->KeepsImage());

    CClientDC(&wnd).FillSolidRect(0, 0, 10, 10, RGB(0, 255, 0));
    EXPECT_TRUE(wnd.GetHost()->KeepsImage());
    EXPECT_EQ(Screen(wnd).pixel(5, 5), Rgb(RGB(0, 255, 0)));
    EXPECT_EQ(Screen(wnd).pixel(30, 20), Rgb(RGB(200, 0, 0)));

    wnd.Invalidate(FALSE);
    wnd.UpdateWindow();
    const QImage painted = Screen(wnd);
    EXPECT_FALSE(wnd.GetHost()->KeepsImage());
    EXPECT_EQ(painted.pixel(5, 5), Rgb(RGB(200, 0, 0)));

    const CRect mark(20, 0, 22, 40);
    CClientDC(&wnd).InvertRect(&mark);
    EXPECT_EQ(Screen(wnd).pixel(21, 10), qRgb(255 - 200, 255, 255));
    CClientDC(&wnd).InvertRect(&mark);
    EXPECT_EQ(Screen(wnd), painted);
}

// Qt never paints a window under an opaque child, so what lies there cannot wait to be shown.
TEST(WindowPainting, AWindowWithAnOpaqueChildDropsItsImageAfterAFullRepaint) {
    PaintingWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 60, 40)));
    CWnd child;
    ASSERT_TRUE(child.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 30, 30), &wnd, 1));
    Screen(wnd);
    CClientDC(&wnd).FillSolidRect(0, 0, 60, 40, RGB(0, 255, 0));
    ASSERT_TRUE(wnd.GetHost()->KeepsImage());
    wnd.Invalidate(FALSE);
    wnd.UpdateWindow();
    const QImage shown = Screen(wnd);
    EXPECT_FALSE(wnd.GetHost()->KeepsImage());
    EXPECT_EQ(shown.pixel(5, 5), Rgb(RGB(200, 0, 0)));
}

TEST(WindowPainting, GrowingKeepsTheOldPictureAtTheTopLeft) {
    PaintingWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 20, 20)));
    wnd.UpdateWindow();
    ASSERT_EQ(wnd.GetClientImage()->size(), QSize(20, 20));
    CClientDC(&wnd).FillSolidRect(0, 0, 5, 5, RGB(1, 2, 3));
    wnd.MoveWindow(0, 0, 40, 30);
    const QImage* image = wnd.GetClientImage();
    EXPECT_EQ(image->size(), QSize(40, 30));
    EXPECT_EQ(image->format(), QImage::Format_RGB32);
    EXPECT_EQ(image->pixel(4, 4), Rgb(RGB(1, 2, 3)));
    // A plain window class repaints only the new strips after a resize; their bounding box is the paint rectangle.
    wnd.UpdateWindow();
    ASSERT_FALSE(wnd.paintRects.empty());
    EXPECT_EQ(wnd.paintRects.back(), CRect(0, 0, 40, 30));
    EXPECT_EQ(wnd.paintRegions.back(), QRegion(0, 0, 40, 30) - QRegion(0, 0, 20, 20));
    // The handler fills its whole paint rectangle, yet only the new strips take the fill.
    EXPECT_EQ(wnd.GetClientImage()->pixel(4, 4), Rgb(RGB(1, 2, 3)));
    EXPECT_EQ(wnd.GetClientImage()->pixel(30, 25), Rgb(RGB(200, 0, 0)));
}

TEST(WindowPainting, SizesPassedThroughBeforeAPaintLeaveThePictureAsItWas) {
    PaintingWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 300, 280)));
    wnd.UpdateWindow();
    CClientDC(&wnd).FillSolidRect(250, 230, 50, 50, RGB(1, 2, 3)); // up to the bottom right corner
    // Wider and taller, then back, as a frame being shown moves a window; then smaller and back again.
    wnd.MoveWindow(0, 0, 310, 290, FALSE);
    wnd.MoveWindow(0, 0, 300, 280, FALSE);
    wnd.MoveWindow(0, 0, 200, 100, FALSE);
    wnd.MoveWindow(0, 0, 300, 280, FALSE);
    const QImage* image = wnd.GetClientImage();
    ASSERT_EQ(image->size(), QSize(300, 280));
    // Shrinking cut the drawing away before it grew back: white where it was, as the picture had become.
    EXPECT_EQ(image->pixel(299, 279), qRgb(255, 255, 255));
    EXPECT_EQ(image->pixel(150, 50), Rgb(RGB(200, 0, 0)));
    EXPECT_EQ(Screen(wnd).pixel(150, 50), Rgb(RGB(200, 0, 0)));
}

TEST(WindowPainting, ANewWindowShowsNothingOfTheOneThatWentBefore) {
    {
        PaintingWnd first;
        ASSERT_TRUE(CreateTop(first, CRect(0, 0, 400, 300)));
        first.UpdateWindow();
        CClientDC(&first).FillSolidRect(0, 0, 400, 300, RGB(9, 8, 7));
        first.DestroyWindow();
    }
    CWnd second; // paints nothing of its own
    ASSERT_TRUE(CreateTop(second, CRect(0, 0, 400, 300)));
    const QImage* image = second.GetClientImage();
    ASSERT_EQ(image->size(), QSize(400, 300));
    for (const QPoint at : {QPoint(0, 0), QPoint(200, 150), QPoint(399, 299)})
        EXPECT_EQ(image->pixel(at), qRgb(255, 255, 255)) << at.x() << "," << at.y();
}

TEST(WindowPainting, SubclassedControlIsDrawnByItsOwnerOrByQt) {
    struct OwnerDrawn : CWnd {
        bool draw = true;
        void OnPaint() override {
            if (!draw) {
                CWnd::OnPaint();
                return;
            }
            CPaintDC dc(this);
            CRect r;
            GetClientRect(&r);
            dc.FillSolidRect(&r, RGB(10, 20, 30));
        }
    };
    QWidget host;
    host.resize(100, 50);
    auto* button = new QPushButton("b", &host);
    button->setGeometry(0, 0, 60, 30);
    host.show();
    OwnerDrawn wnd;
    ASSERT_TRUE(wnd.SubclassWindow(button));
    QImage shown = button->grab().toImage();
    EXPECT_EQ(shown.pixel(30, 15), Rgb(RGB(10, 20, 30)));
    wnd.draw = false;
    shown = button->grab().toImage();
    EXPECT_NE(shown.pixel(30, 15), Rgb(RGB(10, 20, 30)));
}

namespace {

// A child dragged by its client area and sized by a thick frame it has made part of its client area.
class DraggedWnd : public CWnd {
public:
    int state = 0;
    std::vector<std::string> log;
    void OnNcCalcSize(BOOL calc, NCCALCSIZE_PARAMS* params) override {
        CWnd::OnNcCalcSize(calc, params);
        InflateRect(params->rgrc[0], 4);
    }
    // As the wall's windows do: the position in lParam means nothing.
    void OnLButtonDown(UINT, CPoint) override { SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, 2); }
    void OnMove(int, int) override {
        state = 1;
        log.emplace_back("move");
    }
    void OnSize(UINT, int, int) override {
        state = 2;
        log.emplace_back("size");
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_EXITSIZEMOVE)
            log.push_back("exit" + std::to_string(state));
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    static void InflateRect(RECT& r, int by) {
        r.left -= by;
        r.top -= by;
        r.right += by;
        r.bottom += by;
    }
};

} // namespace

TEST(WindowMoveLoop, CaptionDragMovesAndFrameDragSizesUntilTheButtonGoesUp) {
    CWnd parent;
    ASSERT_TRUE(CreateTop(parent, CRect(0, 0, 300, 200)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(parent.GetHostWidget()));
    DraggedWnd pip;
    ASSERT_TRUE(
        pip.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE | WS_THICKFRAME, CRect(50, 50, 100, 90), &parent, 1));
    CRect client;
    pip.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 50, 40)); // the frame belongs to the client area now
    QWidget* w = pip.GetHostWidget();

    pip.log.clear();
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QTest::mouseMove(w, QPoint(30, 25));
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(30, 25));
    CRect r;
    pip.GetWindowRect(&r);
    parent.ScreenToClient(&r);
    EXPECT_EQ(r, CRect(60, 55, 110, 95));
    EXPECT_EQ(pip.log, (std::vector<std::string>{"move", "exit1"}));

    // The right edge still sizes: the hit test puts it before the client area.
    pip.log.clear();
    CPoint edge(49, 20);
    pip.ClientToScreen(&edge);
    EXPECT_EQ(pip.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(edge.x), static_cast<WORD>(edge.y))),
              HTRIGHT);
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(49, 20));
    QTest::mouseMove(w, QPoint(59, 20));
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(59, 20));
    pip.GetWindowRect(&r);
    parent.ScreenToClient(&r);
    EXPECT_EQ(r, CRect(60, 55, 120, 95));
    EXPECT_EQ(pip.log, (std::vector<std::string>{"size", "exit2"}));
}
