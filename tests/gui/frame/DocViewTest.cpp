#include "platform/gui/dialogs/FormView.h"
#include "platform/gui/frame/DocTemplate.h"
#include "platform/gui/frame/Document.h"
#include "platform/gui/frame/FrameWnd.h"
#include "platform/gui/frame/SplitterWnd.h"
#include "platform/gui/frame/WinApp.h"
#include "res/ResourceTables.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::vector<std::string> g_events;

const DlgTemplate kForms[] = {
    {9401,
     "",
     300,
     200,
     WS_CHILD,
     {
         {1003, DlgItemKind::PushButton, "Open", 10, 10, 60, 24, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
         {1051, DlgItemKind::TabControl, "", 10, 40, 200, 100, WS_VISIBLE},
     }},
};

class ShellDoc : public CDocument {
public:
    BOOL OnNewDocument() override {
        g_events.push_back("new document");
        return CDocument::OnNewDocument();
    }
};

class MainView : public CFormView {
public:
    MainView() : CFormView(9401) {
        OnCommandId(1003, []() { g_events.push_back("open clicked"); });
    }
    void OnInitialUpdate() override {
        g_events.push_back("main view update");
        CFormView::OnInitialUpdate();
        ResizeParentToFit();
    }
};

class BannerView : public CFormView {
public:
    BannerView() : CFormView(9401) {}
    void OnInitialUpdate() override {
        g_events.push_back(AfxGetMainWnd() ? "banner update, main window known" : "banner update");
        CFormView::OnInitialUpdate();
    }
};

class ShellFrame : public CFrameWnd {
public:
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* context) override {
        return m_splitter.CreateStatic(this, 2, 1) &&
               m_splitter.CreateView(0, 0, RUNTIME_CLASS(MainView), CSize(400, 150), context) &&
               m_splitter.CreateView(1, 0, RUNTIME_CLASS(BannerView), CSize(200, 160), context);
    }
    CSplitterWnd m_splitter;
};

class ShellApp : public CWinApp {
public:
    ShellApp() : CWinApp("shell") {}
    BOOL InitInstance() override {
        AddDocTemplate(
            new CSingleDocTemplate(128, RUNTIME_CLASS(ShellDoc), RUNTIME_CLASS(ShellFrame), RUNTIME_CLASS(MainView)));
        CCommandLineInfo info;
        ParseCommandLine(info);
        return ProcessShellCommand(info);
    }
};

class DocViewTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterResourceTables();
        CResourceTable::AddDialogs(kForms);
        g_events.clear();
    }
    void TearDown() override {
        if (CWnd* main = AfxGetMainWnd())
            main->DestroyWindow();
    }
};

} // namespace

TEST_F(DocViewTest, StartUpBuildsDocumentFrameAndViewsAndUpdatesEachViewOnce) {
    ShellApp app;
    char name[] = "veltrano";
    char* argv[] = {name, nullptr};
    app.m_argc = 1;
    app.m_argv = argv;
    ASSERT_TRUE(app.InitInstance());
    auto* frame = dynamic_cast<ShellFrame*>(AfxGetMainWnd());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(g_events,
              (std::vector<std::string>{"new document", "main view update", "banner update, main window known"}));

    auto* main = dynamic_cast<MainView*>(frame->GetActiveView());
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main, frame->m_splitter.GetPane(0, 0));
    ASSERT_NE(frame->GetActiveDocument(), nullptr);
    EXPECT_EQ(frame->GetActiveDocument()->GetViews().size(), 2u);
    EXPECT_EQ(frame->GetActiveDocument()->GetTitle(), "\xC6\xB4\xBD\xD3\xC7\xBD");

    // Each form holds its own controls; a click reaches the form that holds it.
    auto* banner = dynamic_cast<BannerView*>(frame->m_splitter.GetPane(1, 0));
    ASSERT_NE(banner, nullptr);
    QTest::mouseClick(main->GetDlgItem(1003)->GetHostWidget(), Qt::LeftButton);
    QTest::mouseClick(banner->GetDlgItem(1003)->GetHostWidget(), Qt::LeftButton);
    EXPECT_EQ(g_events.back(), "open clicked");
    EXPECT_EQ(std::count(g_events.begin(), g_events.end(), "open clicked"), 1);

    // A second new document starts the document afresh and leaves the views as they were built.
    g_events.clear();
    app.OnFileNew();
    EXPECT_EQ(g_events, std::vector<std::string>{"new document"});
    EXPECT_EQ(AfxGetMainWnd(), frame);
    frame->DestroyWindow();
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
}

namespace {

// Starts the shell with one argument; what went to standard error comes back.
struct ShellStart {
    explicit ShellStart(const std::string& argument) : m_argument(argument.begin(), argument.end()) {
        m_argument.push_back('\0');
        m_argv[1] = m_argument.data();
        app.m_argc = 2;
        app.m_argv = m_argv;
        testing::internal::CaptureStderr();
        started = app.InitInstance() != FALSE;
        standardError = testing::internal::GetCapturedStderr();
    }
    ~ShellStart() {
        if (CWnd* main = AfxGetMainWnd())
            main->DestroyWindow();
    }

    MessageBoxRecorder boxes;
    ShellApp app;
    bool started = false;
    std::string standardError;

private:
    std::vector<char> m_argument;
    char m_name[9] = "veltrano";
    char* m_argv[3] = {m_name, nullptr, nullptr};
};

} // namespace

TEST_F(DocViewTest, OnlyAnOrdinaryFileOpensAndAnythingElseFailsAtOnceAsAMissingFileDoes) {
    TempDir dir;
    ASSERT_EQ(mkdir(dir.File("folder.wall").c_str(), 0755), 0);
    // Nobody ever writes into this pipe: opening it to read would wait for good.
    ASSERT_EQ(mkfifo(dir.File("pipe.wall").c_str(), 0644), 0);
    ASSERT_EQ(symlink(dir.File("gone.wall").c_str(), dir.File("dangling.wall").c_str()), 0);
    for (const std::string& path : {dir.File("none.wall"), dir.File("pipe.wall"), dir.File("folder.wall"),
                                    dir.File("dangling.wall"), std::string("/dev/null")}) {
        ShellStart start(path);
        EXPECT_FALSE(start.started) << path;
        EXPECT_EQ(AfxGetMainWnd(), nullptr) << path;
        ASSERT_EQ(start.boxes.Boxes().size(), 1u) << path;
        EXPECT_EQ(start.boxes.Boxes()[0].text, "Failed to open document: " + path);
        EXPECT_EQ(start.boxes.Boxes()[0].type, MB_OK | MB_ICONERROR);
        EXPECT_EQ(start.standardError, start.boxes.Boxes()[0].text + "\n");
    }
    dir.Write("plain.wall", "");
    ShellStart plain(dir.File("plain.wall"));
    ASSERT_TRUE(plain.started);
    EXPECT_TRUE(plain.boxes.Boxes().empty());
    EXPECT_EQ(dynamic_cast<CFrameWnd*>(AfxGetMainWnd())->GetActiveDocument()->GetTitle(), "plain.wall");
}

TEST_F(DocViewTest, AnOptionTheProgramDoesNotCarryOutIsNamedAndEndsTheStart) {
    for (const char* option : {"/p", "-pt", "/Regserver", "-Unregister", "-x", "--help"}) {
        ShellStart start(option);
        EXPECT_FALSE(start.started) << option;
        EXPECT_EQ(AfxGetMainWnd(), nullptr) << option;
        ASSERT_EQ(start.boxes.Boxes().size(), 1u) << option;
        EXPECT_EQ(start.boxes.Boxes()[0].text,
                  std::string("The command-line option \"") + option + "\" is not supported. The program ends.");
        EXPECT_EQ(start.standardError, start.boxes.Boxes()[0].text + "\n");
    }
    // A slash and an unknown word is a path, as absolute paths are.
    ShellStart path("/x");
    ASSERT_EQ(path.boxes.Boxes().size(), 1u);
    EXPECT_EQ(path.boxes.Boxes()[0].text, "Failed to open document: /x");
}

namespace {

class BrokenFrame : public CFrameWnd {
public:
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext*) override { return FALSE; }
};

// A view that cannot make its window.
class BrokenView : public CFormView {
public:
    BrokenView() : CFormView(9401) {}
    int OnCreate(LPCREATESTRUCT) override { return -1; }
};

class BrokenPaneFrame : public CFrameWnd {
public:
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* context) override {
        return m_splitter.CreateStatic(this, 1, 1) &&
               m_splitter.CreateView(0, 0, RUNTIME_CLASS(BrokenView), CSize(400, 150), context);
    }
    CSplitterWnd m_splitter;
};

class BrokenShellApp : public CWinApp {
public:
    BrokenShellApp(CRuntimeClass* frame, CRuntimeClass* view) : CWinApp("shell"), m_frame(frame), m_view(view) {}
    BOOL InitInstance() override {
        AddDocTemplate(new CSingleDocTemplate(128, RUNTIME_CLASS(ShellDoc), m_frame, m_view));
        CCommandLineInfo info;
        return ProcessShellCommand(info);
    }

private:
    CRuntimeClass* m_frame;
    CRuntimeClass* m_view;
};

} // namespace

TEST_F(DocViewTest, AMainWindowThatCannotBeBuiltIsReportedAndEndsTheStart) {
    const std::pair<CRuntimeClass*, CRuntimeClass*> broken[] = {{RUNTIME_CLASS(BrokenFrame), RUNTIME_CLASS(MainView)},
                                                                 {RUNTIME_CLASS(CFrameWnd), RUNTIME_CLASS(BrokenView)},
                                                                 {RUNTIME_CLASS(BrokenPaneFrame), RUNTIME_CLASS(MainView)}};
    for (const auto& [frame, view] : broken) {
        BrokenShellApp app(frame, view);
        MessageBoxRecorder boxes;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(app.InitInstance());
        const std::string standardError = testing::internal::GetCapturedStderr();
        EXPECT_EQ(AfxGetMainWnd(), nullptr);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, "Failed to create empty document.");
        EXPECT_EQ(boxes.Boxes()[0].type, MB_OK | MB_ICONERROR);
        EXPECT_EQ(standardError, "Failed to create empty document.\n");
    }
}

TEST_F(DocViewTest, CommandLineOptionsFollowTheFrameworksRules) {
    CCommandLineInfo info;
    info.ParseParam("p", TRUE, FALSE);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FilePrint);
    CCommandLineInfo open;
    open.ParseParam("wall.doc", FALSE, TRUE);
    EXPECT_EQ(open.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(open.m_strFileName, "wall.doc");
    CCommandLineInfo plain;
    EXPECT_EQ(plain.m_nShellCommand, CCommandLineInfo::FileNew);

    ShellApp app;
    EXPECT_FALSE(app.ProcessShellCommand(info)); // printing from the command line: nothing to run
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
}

namespace {

class LifeApp : public CWinApp {
public:
    explicit LifeApp(bool start) : m_start(start) {}
    BOOL InitInstance() override {
        steps.push_back("init " + std::to_string(m_argc));
        if (!m_start)
            return FALSE;
        auto* frame = new CFrameWnd;
        if (!frame->LoadFrame(128))
            return FALSE;
        m_pMainWnd = frame;
        frame->PostMessage(WM_CLOSE, 0, 0); // the operator closes the window at once
        return TRUE;
    }
    int ExitInstance() override {
        steps.push_back(AfxGetMainWnd() ? "exit, window left" : "exit");
        return 0;
    }
    std::vector<std::string> steps;

private:
    bool m_start;
};

// The entry installs the real message box; a test must not leave it behind.
class KeepMessageBox {
public:
    KeepMessageBox() : m_saved(SetMessageBoxHandler(nullptr)) { SetMessageBoxHandler(m_saved); }
    ~KeepMessageBox() { SetMessageBoxHandler(m_saved); }

private:
    MessageBoxHandler m_saved;
};

} // namespace

TEST_F(DocViewTest, TheEntryRunsTheApplicationUntilItsMainWindowCloses) {
    KeepMessageBox keep;
    char name[] = "veltrano";
    char* argv[] = {name, nullptr};
    LifeApp app(true);
    EXPECT_EQ(AfxWinMain(1, argv), 0);
    EXPECT_EQ(app.steps, (std::vector<std::string>{"init 1", "exit"}));
}

TEST_F(DocViewTest, AFailedStartUpStillCleansUpAndReportsIt) {
    KeepMessageBox keep;
    char name[] = "veltrano";
    char* argv[] = {name, nullptr};
    LifeApp app(false);
    EXPECT_EQ(AfxWinMain(1, argv), 1);
    EXPECT_EQ(app.steps, (std::vector<std::string>{"init 1", "exit"}));
}
