#include "tests/ui/WallFixture.h"

#include "ui/app/MainFrame.h"
#include "ui/app/VeltranoApp.h"
#include "ui/app/VeltranoView.h"
#include "ui/banner/CtrlBanner.h"
#include "ui/wall/LcdGridCtrl.h"

#include "res/ResourceTables.h"
#include "tests/support/PaintLog.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorkingDir.h"

#include "platform/gui/window/SystemMetrics.h"

#include <QAction>
#include <QMenuBar>
#include <QTest>

#include <filesystem>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

// What happens to the files of a folder, as the kernel reports it.
class FolderWatch {
public:
    FolderWatch(const std::string& path, uint32_t mask) : m_fd(inotify_init1(IN_NONBLOCK)) {
        inotify_add_watch(m_fd, path.c_str(), mask);
    }
    ~FolderWatch() { close(m_fd); }
    // The names of the files the events were about, in order.
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        alignas(inotify_event) char buffer[8192];
        for (;;) {
            const ssize_t n = read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                return names;
            for (char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                names.emplace_back(event->len ? event->name : "");
                p += sizeof(inotify_event) + event->len;
            }
        }
    }

private:
    int m_fd;
};

// The program started as the operator starts it, in a folder with the sample command and matrix definitions and a
// settings file of a 3 x 4 wall, on a screen whose size the test chooses.
class StartUpTest : public testing::Test {
protected:
    void SetUp() override {
        // As the program's entry does before it runs the application.
        RegisterResourceTables();
        dir.CopySample("command.xml");
        dir.CopySample("matrix.xml");
        dir.Write("system.xml", SettingsFile(3, 4));
    }
    void TearDown() override {
        if (CWnd* main = AfxGetMainWnd())
            main->DestroyWindow();
        app.ExitInstance();
        SetScreenMetricsHandler(nullptr);
    }
    // A screen whose full-screen client area (without the task bar and a caption) is width x height.
    bool Start(int width, int height) {
        SetScreenMetricsHandler([width, height]() {
            return ScreenMetrics{CRect(0, 0, width, height + 40), CRect(0, 0, width, height + 18)};
        });
        app.m_argc = 1;
        app.m_argv = m_argv;
        if (!app.InitInstance())
            return false;
        frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
        return frame && QTest::qWaitForWindowExposed(frame->GetHostWidget());
    }
    CVeltranoView* View() { return dynamic_cast<CVeltranoView*>(frame->GetSplitter().GetPane(0, 0)); }
    CWnd* Banner() { return frame->GetSplitter().GetPane(1, 0); }
    // A window's rectangle in the frame's client coordinates.
    CRect InFrame(CWnd* wnd) {
        CRect r;
        wnd->GetWindowRect(&r);
        frame->ScreenToClient(&r);
        return r;
    }

    WorkingDir dir;
    MessageBoxRecorder boxes;
    CVeltranoApp app;
    CMainFrame* frame = nullptr;

private:
    char m_name[9] = "veltrano";
    char* m_argv[2] = {m_name, nullptr};
};

} // namespace

TEST_F(StartUpTest, TheCommandsThenTheSettingsThenTheMatricesAreRead) {
    FolderWatch watch(dir.Dir().Path(), IN_OPEN);
    ASSERT_TRUE(Start(1280, 984));
    std::vector<std::string> firstOpened;
    for (const std::string& name : watch.Names())
        if (std::find(firstOpened.begin(), firstOpened.end(), name) == firstOpened.end())
            firstOpened.push_back(name);
    EXPECT_EQ(firstOpened, (std::vector<std::string>{"command.xml", "system.xml", "matrix.xml"}));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(StartUpTest, AWideScreenGetsAWindow1024WideTitledFromTheSettings) {
    ASSERT_TRUE(Start(1280, 984));
    CRect r;
    frame->GetWindowRect(&r);
    EXPECT_EQ(r.Width(), 1024);
    EXPECT_EQ(r.Height(), 974);
    EXPECT_EQ(r.left, (1280 - 1024) / 2);
    CString title;
    frame->GetWindowText(title);
    EXPECT_EQ(title.Str(), "Wall under test");
    // The wall view has one cell per unit, and the banner is built after it.
    ASSERT_NE(TheWallView(), nullptr);
    EXPECT_EQ(TheWallView()->GetRowCount(), 3);
    EXPECT_EQ(TheWallView()->GetColumnCount(), 4);
    EXPECT_NE(dynamic_cast<CCtrlBanner*>(Banner()), nullptr);
    EXPECT_GT(InFrame(Banner()).top, InFrame(View()).bottom);
}

TEST_F(StartUpTest, AScreenExactly1024WideGetsAWindow1014Wide) {
    ASSERT_TRUE(Start(1024, 740));
    CRect r;
    frame->GetWindowRect(&r);
    EXPECT_EQ(r.Width(), 1014);
    EXPECT_EQ(r.Height(), 730);
}

TEST_F(StartUpTest, TheWallViewTakesTheMiddleThreeFifthsOfTheMainView) {
    ASSERT_TRUE(Start(1280, 984));
    CVeltranoView* view = View();
    ASSERT_NE(view, nullptr);
    // A client area of 1000 x 600, the view's edge around it.
    CRect outer, inner;
    view->GetWindowRect(&outer);
    view->GetClientRect(&inner);
    view->MoveWindow(0, 0, 1000 + outer.Width() - inner.Width(), 600 + outer.Height() - inner.Height(), TRUE);
    CRect r;
    TheWallView()->GetWindowRect(&r);
    view->ScreenToClient(&r);
    EXPECT_EQ(r, CRect(200, 10, 800, 590));
    // The cells share the wall view's client area out.
    CRect client;
    TheWallView()->GetClientRect(&client);
    EXPECT_EQ(TheWallView()->GetColumnWidth(0), client.Width() / 4);
    EXPECT_EQ(TheWallView()->GetRowHeight(0), client.Height() / 3);
}

// The test program has no bmp_logo.bmp beside it.
TEST_F(StartUpTest, TheMainWindowShowsTheWallOverTheLightBlueBackgroundAboveTheBanner) {
    ASSERT_TRUE(Start(1280, 984));
    CVeltranoView* view = View();
    EXPECT_FALSE(view->HasLogo());
    const QImage shown = frame->GetHostWidget()->grab().toImage();
    const CRect viewRect = InFrame(view);
    const CRect wallRect = InFrame(TheWallView());
    const CRect bannerRect = InFrame(Banner());
    const auto at = [&](int x, int y) { return shown.pixel(x, y); };
    // Beside the wall view: the background.
    EXPECT_EQ(at(viewRect.left + 20, viewRect.top + 40), qRgb(156, 182, 226));
    EXPECT_EQ(at(viewRect.right - 20, viewRect.bottom - 40), qRgb(156, 182, 226));
    // The wall: white cells split by grey grid lines, here three rows of four.
    const int cellWidth = TheWallView()->GetColumnWidth(0);
    const int cellHeight = TheWallView()->GetRowHeight(0);
    CRect client;
    TheWallView()->GetClientRect(&client);
    TheWallView()->ClientToScreen(&client);
    frame->ScreenToClient(&client);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            EXPECT_EQ(at(client.left + col * cellWidth + cellWidth / 2, client.top + row * cellHeight + cellHeight / 2),
                      qRgb(255, 255, 255));
    EXPECT_EQ(at(client.left + cellWidth - 1, client.top + cellHeight / 2), qRgb(192, 192, 192));
    EXPECT_TRUE(viewRect.PtInRect(CPoint(wallRect.left, wallRect.top)));
    // The banner below, no background of the view's.
    EXPECT_GT(bannerRect.Height(), 100);
    EXPECT_NE(at(bannerRect.CenterPoint().x, bannerRect.CenterPoint().y), qRgb(156, 182, 226));
}

TEST_F(StartUpTest, NewAndOpenLeaveTheProgramWorking) {
    ASSERT_TRUE(Start(1280, 984));
    LcdGridCtrl* wallView = TheWallView();
    QWidget* host = frame->GetHostWidget();
    host->activateWindow();
    QTest::keyClick(host, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(host, Qt::Key_O, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(AfxGetMainWnd(), frame);
    EXPECT_EQ(TheWallView(), wallView);
    EXPECT_TRUE(wallView->IsWindowVisible());
    EXPECT_EQ(View(), frame->GetActiveView());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(StartUpTest, LeavingWritesNothing) {
    TempDir config;
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    const std::string settings = dir.Read("system.xml");
    FolderWatch watch(dir.Dir().Path(), IN_MODIFY | IN_CREATE | IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE);
    ASSERT_TRUE(Start(1280, 984));
    frame->SendMessage(WM_COMMAND, ID_APP_EXIT, 0);
    QApplication::processEvents();
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_TRUE(watch.Names().empty());
    EXPECT_EQ(dir.Read("system.xml"), settings);
    EXPECT_TRUE(std::filesystem::is_empty(config.Path()));
}

// Fitted column by column, the wall passed through sizes that needed a scroll bar; the bar's room resized the wall,
// which fitted itself again, until the stack ran out. A 3 x 2 wall did so at the start-up size.
TEST_F(StartUpTest, AThreeByTwoWallStartsWithItsCellsFillingTheViewAndNoScrollBar) {
    dir.Write("system.xml", SettingsFile(3, 2));
    ASSERT_TRUE(Start(1280, 984));
    LcdGridCtrl* wall = TheWallView();
    CRect client;
    wall->GetClientRect(&client);
    EXPECT_EQ(wall->GetColumnWidth(1), client.Width() / 2);
    EXPECT_EQ(wall->GetRowHeight(2), client.Height() / 3);
    EXPECT_EQ(wall->GetScrollLimit(SB_HORZ) + wall->GetScrollLimit(SB_VERT), 0);
}

// Made smaller, the window once kept the wall's start-up height and left the banner none.
TEST_F(StartUpTest, ASmallerWindowShrinksTheWallAndLeavesTheBannerItsWholeForm) {
    ASSERT_TRUE(Start(1280, 984));
    const CRect startView = InFrame(View());
    // Narrower than its form, the banner scrolls sideways with its bar below the controls, and not up and down.
    frame->MoveWindow(0, 0, 700, 500);
    CRect client;
    Banner()->GetClientRect(&client);
    EXPECT_EQ(client.Height(), CResourceTable::FindDialog(103)->cy);
    EXPECT_EQ(Banner()->GetStyle() & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL);
    frame->MoveWindow(0, 0, 1024, 974);
    EXPECT_EQ(InFrame(View()), startView);
}

// The window is painted in one pass; its activation and the focus it gives the wall repaint only what shows them (the
// lines of the wall's focus frame, the menu bar's items), not the windows around them.
TEST_F(StartUpTest, TheWindowIsPaintedOnceAndItsActivationRepaintsOnlyTheFocusFrameAndTheMenuItems) {
    PaintLog log;
    ASSERT_TRUE(Start(1280, 984));
    QWidget* host = frame->GetHostWidget();
    QWidget* wall = TheWallView()->GetHostWidget();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host));
    QTest::qWait(50);
    EXPECT_EQ(log.Of(View()->GetHostWidget()).size(), 1u);
    EXPECT_EQ(log.Of(Banner()->GetHostWidget()).size(), 1u);
    EXPECT_EQ(log.Of(wall), std::vector<QRegion>{QRegion(wall->rect())});
    log.Clear();

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host));
    QTest::qWait(50);
    EXPECT_EQ(CWnd::GetFocus(), TheWallView());
    EXPECT_TRUE(log.Of(View()->GetHostWidget()).empty());
    EXPECT_TRUE(log.Of(Banner()->GetHostWidget()).empty());
    EXPECT_FALSE(log.All(wall).isEmpty());
    EXPECT_TRUE(OnlyLines(log.All(wall)));
    QMenuBar* bar = frame->GetMenuBarWidget();
    QRegion items;
    for (QAction* action : bar->actions())
        items += bar->actionGeometry(action);
    EXPECT_TRUE((log.All(bar) - items).isEmpty());
    EXPECT_TRUE((log.All(host) - items.translated(bar->pos())).isEmpty());
}
