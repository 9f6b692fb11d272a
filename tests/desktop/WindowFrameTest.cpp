// Top-level windows under a window manager that puts a title bar and borders around them: where the frame stands,
// read from the X server, and what the manager offers on the title bars of dialogs and message boxes.
#include "XProbe.h"

#include "platform/gui/dialogs/Dialog.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/frame/WinApp.h"
#include "platform/gui/window/QtMessageBox.h"
#include "platform/gui/window/SystemMetrics.h"
#include "platform/gui/window/Wnd.h"
#include "platform/os/MessageBox.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr UINT kSettingsDialog = 9301;
const DlgTemplate kDialogs[] = {
    {kSettingsDialog,
     "Settings",
     320,
     180,
     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
     {{IDOK, DlgItemKind::PushButton, "OK", 120, 140, 80, 24, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON}}},
};

QRect Q(const CRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// The window manager has framed the window, and the program sees the frame where the server has it.
bool Framed(CWnd& wnd) {
    const WId window = wnd.GetHostWidget()->winId();
    CRect outer;
    wnd.GetWindowRect(&outer);
    return !FrameExtents(window).isNull() && FrameOnScreen(window) == Q(outer);
}

// The window manager has framed the window, the frame stands where expected, and the program sees it there.
bool FramedAt(CWnd& wnd, const QRect& expected) {
    const WId window = wnd.GetHostWidget()->winId();
    CRect outer;
    wnd.GetWindowRect(&outer);
    return !FrameExtents(window).isNull() && FrameOnScreen(window) == expected && Q(outer) == expected;
}

std::string Where(WId window) {
    const QRect f = FrameOnScreen(window);
    const QMargins m = FrameExtents(window);
    return "the frame stands at " + std::to_string(f.x()) + ", " + std::to_string(f.y()) + ", " +
           std::to_string(f.width()) + " x " + std::to_string(f.height()) + " with a title of " +
           std::to_string(m.top());
}

// What a title bar with a close button alone tells the window manager, and what the manager then allows: moving
// and closing, and no minimizing, which would take the owner along with nothing to bring either back.
void ExpectCloseButtonOnly(WId window, const char* what) {
    const QStringList actions = AllowedActions(window);
    EXPECT_TRUE(actions.contains("CLOSE")) << what << ": " << actions.join(' ').toStdString();
    EXPECT_TRUE(actions.contains("MOVE")) << what;
    for (const char* refused : {"MINIMIZE", "MAXIMIZE_HORZ", "MAXIMIZE_VERT", "RESIZE"})
        EXPECT_FALSE(actions.contains(refused)) << what << " allows " << refused;
    // Flags, functions, decorations: no minimize (function 8, decoration 32) and no maximize (16, 64).
    const std::vector<unsigned long> hints = MotifHints(window);
    ASSERT_GE(hints.size(), 3u) << what;
    EXPECT_TRUE(hints[0] & 1u) << what << " gives no functions";
    EXPECT_EQ(hints[1] & (8u | 16u), 0u) << what << " functions " << hints[1];
    EXPECT_EQ(hints[2] & (32u | 64u), 0u) << what << " decorations " << hints[2];
    EXPECT_TRUE(hints[2] & 8u) << what << " has no title";
}

// The columns of a window's title bar that its title's text takes, as the window manager draws it in white over the
// bar: the run of white columns around the bar's middle, where the title stands, apart from the buttons at its ends.
std::pair<int, int> TitleTextColumns(WId window) {
    const QRect frame = FrameOnScreen(window);
    const QImage title = QGuiApplication::primaryScreen()
                             ->grabWindow(0, frame.left(), frame.top(), frame.width(), FrameExtents(window).top())
                             .toImage();
    std::vector<bool> white(size_t(title.width()));
    for (int x = 0; x < title.width(); ++x)
        for (int y = 0; y < title.height(); ++y)
            if (const QRgb p = title.pixel(x, y); std::min({qRed(p), qGreen(p), qBlue(p)}) > 235)
                white[size_t(x)] = true;
    // Letters stand a few columns apart at most; a word space is wider, a button much wider.
    constexpr int kGap = 8;
    const int middle = title.width() / 2;
    int first = -1, last = -1;
    for (int x = middle, gap = 0; x >= 0 && gap <= kGap; --x, ++gap)
        if (white[size_t(x)])
            first = x, gap = 0, last = last < 0 ? x : last;
    for (int x = middle, gap = 0; x < title.width() && gap <= kGap; ++x, ++gap)
        if (white[size_t(x)])
            last = std::max(last, x), gap = 0, first = first < 0 ? x : first;
    return {first, last};
}

class TopLevelFrameTest : public testing::Test {
protected:
    void SetUp() override {
        // As the program's frames are made: the window manager draws the title bar and the borders.
        ASSERT_TRUE(
            m_window.CreateEx(0, nullptr, "Frame", WS_OVERLAPPED | WS_SYSMENU, CRect(0, 0, 300, 200), nullptr, 0));
    }
    void TearDown() override { m_window.DestroyWindow(); }
    WId Id() { return m_window.GetHostWidget()->winId(); }

    CWinApp m_app;
    CWnd m_window;
};

} // namespace

TEST_F(TopLevelFrameTest, SizedAndCentredBeforeItIsShownTheWholeFrameLiesOnTheScreen) {
    // As the program starts: sized to the screen's full height less a little, centred, then shown.
    const CRect work = GetScreenMetrics().workArea;
    const int height = GetSystemMetrics(SM_CYFULLSCREEN) - 10;
    m_window.MoveWindow(0, 0, 1024, height);
    m_window.CenterWindow();
    m_window.ShowWindow(SW_SHOW);

    const QRect expected(work.left + (work.Width() - 1024) / 2, work.top + (work.Height() - height) / 2, 1024, height);
    EXPECT_TRUE(WaitUntil([&] { return FramedAt(m_window, expected); })) << Where(Id());
    const QMargins frame = FrameExtents(Id());
    ASSERT_GT(frame.top(), 0) << "no title bar: is a window manager running?";
    EXPECT_GE(FrameOnScreen(Id()).top(), 0);
    EXPECT_LE(FrameOnScreen(Id()).bottom(), work.bottom - 1);

    // The program's view of it: the outer rectangle, and the client area inside the frame.
    CRect outer, client;
    m_window.GetWindowRect(&outer);
    m_window.GetClientRect(&client);
    EXPECT_EQ(Q(outer), expected);
    EXPECT_EQ(client.Width(), 1024 - frame.left() - frame.right());
    EXPECT_EQ(client.Height(), height - frame.top() - frame.bottom());
    CPoint origin(0, 0);
    m_window.ClientToScreen(&origin);
    EXPECT_EQ(QPoint(origin.x, origin.y), ClientOnScreen(Id()).topLeft());
}

TEST_F(TopLevelFrameTest, AShownWindowIsMovedAndSizedByItsFrameAndKeepsItsClientSizeWhenOnlyMoved) {
    m_window.MoveWindow(100, 80, 640, 480);
    m_window.ShowWindow(SW_SHOW);
    ASSERT_TRUE(WaitUntil([&] { return FramedAt(m_window, QRect(100, 80, 640, 480)); }));

    m_window.MoveWindow(200, 150, 500, 400);
    EXPECT_TRUE(WaitUntil([&] { return FramedAt(m_window, QRect(200, 150, 500, 400)); })) << Where(Id());

    CRect client;
    m_window.GetClientRect(&client);
    m_window.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(WaitUntil([&] { return FramedAt(m_window, QRect(0, 0, 500, 400)); })) << Where(Id());
    CRect after;
    m_window.GetClientRect(&after);
    EXPECT_EQ(after, client);

    m_window.SetWindowPos(nullptr, 0, 0, 600, 300, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(WaitUntil([&] { return FramedAt(m_window, QRect(0, 0, 600, 300)); })) << Where(Id());
    CRect outer;
    m_window.GetWindowRect(&outer);
    EXPECT_EQ(Q(outer), QRect(0, 0, 600, 300));
}

TEST_F(TopLevelFrameTest, AModalDialogIsCentredOnItsOwnerByItsFrameKeepsItsSizeAndOffersOnlyClose) {
    CResourceTable::AddDialogs(kDialogs);
    m_window.MoveWindow(100, 60, 900, 700);
    m_window.ShowWindow(SW_SHOW);
    ASSERT_TRUE(WaitUntil([&] { return Framed(m_window); }));
    CRect owner;
    m_window.GetWindowRect(&owner);
    const QPoint middle = Q(owner).center();

    CDialog dialog(kSettingsDialog, &m_window);
    bool looked = false;
    const ModalLoop previous = CDialog::SetModalLoop([&](CDialog& shown) {
        looked = true;
        const WId id = shown.GetHostWidget()->winId();
        // Once framed, the dialog's frame has the middle of its owner's.
        const bool centred = WaitUntil([&] {
            const QRect f = FrameOnScreen(id);
            return !FrameExtents(id).isNull() && !AllowedActions(id).isEmpty() &&
                   std::abs(f.center().x() - middle.x()) <= 1 && std::abs(f.center().y() - middle.y()) <= 1;
        });
        EXPECT_TRUE(centred) << "the frame stands at " << FrameOnScreen(id).x() << ", " << FrameOnScreen(id).y();
        EXPECT_EQ(ClientOnScreen(id).size(), QSize(320, 180));
        ExpectCloseButtonOnly(id, "the dialog");
        shown.EndDialog(IDOK);
    });
    dialog.DoModal();
    CDialog::SetModalLoop(previous);
    EXPECT_TRUE(looked);
}

TEST_F(TopLevelFrameTest, AMessageBoxOffersOnlyCloseAndIsWideEnoughForItsWholeCaption) {
    // The caption as the window manager shows it on a window far wider than it needs; long enough that a box
    // sized to its text and button alone would cut it.
    const char* caption = "The wall port COM1 is not open yet";
    m_window.SetWindowText(caption);
    m_window.MoveWindow(100, 60, 900, 700);
    m_window.ShowWindow(SW_SHOW);
    ASSERT_TRUE(WaitUntil([&] { return !FrameExtents(Id()).isNull(); }));
    ActivateWindow(Id());
    std::pair<int, int> whole;
    ASSERT_TRUE(WaitUntil([&] {
        whole = TitleTextColumns(Id());
        return whole.first > 0;
    })) << "no title text on the screen";

    // A box whose text and button need far less room than its caption.
    InstallQtMessageBox();
    bool looked = false;
    QTimer::singleShot(0, [&] {
        QMessageBox* box = nullptr;
        WaitUntil([&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible())
                    box = b;
            return box && !AllowedActions(box->winId()).isEmpty() && box->isActiveWindow();
        });
        ASSERT_NE(box, nullptr);
        looked = true;
        ExpectCloseButtonOnly(box->winId(), "the message box");
        std::pair<int, int> shown;
        EXPECT_TRUE(WaitUntil([&] {
            shown = TitleTextColumns(box->winId());
            return shown.second - shown.first == whole.second - whole.first;
        })) << "the caption takes "
            << shown.second - shown.first + 1 << " columns, not " << whole.second - whole.first + 1
            << ": the window manager cut it";
        box->accept();
    });
    AfxMessageBoxWithCaption("!", caption, MB_OK | MB_ICONERROR);
    EXPECT_TRUE(looked);
}
