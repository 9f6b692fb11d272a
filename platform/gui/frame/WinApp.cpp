#include "WinApp.h"

#include "DocTemplate.h"
#include "FrameworkIds.h"
#include "ResourceTable.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/window/QtMessageBox.h"
#include "platform/gui/window/WaitCursor.h"
#include "platform/gui/window/Wnd.h"
#include "platform/gui/window/XConnection.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QPointer>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

namespace {

CWinApp*& CurrentApp() {
    static CWinApp* app = nullptr;
    return app;
}

bool Equals(const char* a, const char* b) { return strcasecmp(a, b) == 0; }

// The framework's options.
bool IsOption(const char* word) {
    for (const char* option :
         {"p", "pt", "dde", "Register", "Regserver", "Unregister", "Unregserver", "Embedding", "Automation"})
        if (Equals(word, option))
            return true;
    return false;
}

// Options that ask for what this program has nothing for: printing a document, registering itself.
bool IsRefusedOption(const char* word) {
    for (const char* option : {"p", "pt", "Register", "Regserver", "Unregister", "Unregserver"})
        if (Equals(word, option))
            return true;
    return false;
}

// As the platform names a program that gave no name: its title string, else its executable's name.
CString DefaultAppName(const char* argv0) {
    CString name;
    if (AfxLoadString(AFX_IDS_APP_TITLE, name) && !name.IsEmpty())
        return name;
    std::string file = argv0 ? argv0 : "";
    const size_t slash = file.find_last_of("/\\");
    if (slash != std::string::npos)
        file.erase(0, slash + 1);
    return CString(file.substr(0, file.rfind('.')));
}

} // namespace

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL /*bLast*/) {
    if (!pszParam)
        return;
    if (bFlag) {
        if (Equals(pszParam, "pt"))
            m_nShellCommand = FilePrintTo;
        else if (Equals(pszParam, "p"))
            m_nShellCommand = FilePrint;
        else if (Equals(pszParam, "dde"))
            m_nShellCommand = FileDDE;
        else if (Equals(pszParam, "Register") || Equals(pszParam, "Regserver"))
            m_nShellCommand = AppRegister;
        else if (Equals(pszParam, "Unregister") || Equals(pszParam, "Unregserver"))
            m_nShellCommand = AppUnregister;
        else if (Equals(pszParam, "Embedding"))
            m_bRunEmbedded = TRUE;
        else if (Equals(pszParam, "Automation"))
            m_bRunAutomated = TRUE;
        return;
    }
    if (m_strFileName.IsEmpty()) {
        m_strFileName = pszParam;
        if (m_nShellCommand == FileNew)
            m_nShellCommand = FileOpen;
    }
}

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_strAppName(lpszAppName ? lpszAppName : "") {
    if (!CurrentApp())
        CurrentApp() = this;
    OnCommandId(ID_FILE_NEW, [this]() { OnFileNew(); });
    OnCommandId(ID_FILE_OPEN, [this]() { OnFileOpen(); });
    OnCommandId(ID_APP_EXIT, [this]() { OnAppExit(); });
}

CWinApp::~CWinApp() {
    if (CurrentApp() == this)
        CurrentApp() = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

int CWinApp::Run() {
    if (!AfxGetMainWnd())
        return ExitInstance();
    QApplication::exec();
    return ExitInstance();
}

BOOL CWinApp::OnIdle(LONG /*lCount*/) {
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    return FALSE;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    if (pTemplate)
        m_templates.emplace_back(pTemplate);
}

CDocTemplate* CWinApp::GetFirstDocTemplate() const { return m_templates.empty() ? nullptr : m_templates.front().get(); }

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
    for (int i = 1; i < m_argc && m_argv; ++i) {
        const char* arg = m_argv[i];
        if (!arg)
            continue;
        const bool known = (arg[0] == '/' || arg[0] == '-') && IsOption(arg + 1);
        const bool flag = known || (arg[0] == '-' && arg[1] != '\0');
        if (flag && (!known || IsRefusedOption(arg + 1)) && rCmdInfo.m_strRefusedOption.IsEmpty())
            rCmdInfo.m_strRefusedOption = arg;
        rCmdInfo.ParseParam(flag ? arg + 1 : arg, flag ? TRUE : FALSE, i == m_argc - 1 ? TRUE : FALSE);
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    std::string refused = rCmdInfo.m_strRefusedOption.Str();
    if (refused.empty()) {
        switch (rCmdInfo.m_nShellCommand) {
        case CCommandLineInfo::FilePrint: refused = "/p"; break;
        case CCommandLineInfo::FilePrintTo: refused = "/pt"; break;
        case CCommandLineInfo::AppRegister: refused = "/Register"; break;
        case CCommandLineInfo::AppUnregister: refused = "/Unregister"; break;
        default: break;
        }
    }
    if (!refused.empty()) {
        const std::string text = "The command-line option \"" + refused + "\" is not supported. The program ends.";
        std::fprintf(stderr, "%s\n", text.c_str());
        AfxMessageBox(text, MB_OK | MB_ICONERROR);
        return FALSE;
    }
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
    case CCommandLineInfo::FileDDE: OnFileNew(); return AfxGetMainWnd() ? TRUE : FALSE;
    case CCommandLineInfo::FileOpen: {
        CDocTemplate* docTemplate = GetFirstDocTemplate();
        return (docTemplate && docTemplate->OpenDocumentFile(rCmdInfo.m_strFileName) && AfxGetMainWnd()) ? TRUE : FALSE;
    }
    case CCommandLineInfo::FileNothing: return TRUE;
    default: return FALSE;
    }
}

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) { m_strRegistryKey = lpszRegistryKey ? lpszRegistryKey : ""; }

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) { m_nMaxMRU = nMaxMRU; }

void CWinApp::OnFileNew() {
    if (CDocTemplate* docTemplate = GetFirstDocTemplate())
        docTemplate->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen() {}

void CWinApp::OnAppExit() {
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_CLOSE, 0, 0);
}

void CWinApp::BeginWaitCursor() { m_waitCursors.push_back(std::make_unique<CWaitCursor>()); }

void CWinApp::EndWaitCursor() {
    if (!m_waitCursors.empty())
        m_waitCursors.pop_back();
}

CWinApp* AfxGetApp() { return CurrentApp(); }

HINSTANCE AfxGetInstanceHandle() { return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x00400000)); }

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

CWnd* AfxGetMainWnd() {
    CWinApp* app = AfxGetApp();
    return app && IsWindow(app->m_pMainWnd) ? app->m_pMainWnd : nullptr;
}

LPCTSTR AfxGetAppName() {
    CWinApp* app = AfxGetApp();
    return app ? static_cast<LPCTSTR>(app->m_strAppName) : "";
}

int AfxWinMain(int argc, char** argv) {
    std::unique_ptr<QApplication> qtApp;
    if (!QApplication::instance())
        qtApp = std::make_unique<QApplication>(argc, argv);
    ApplySysColorPalette();
    InstallQtMessageBox();
    XInternTitleEncoding();
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    app->m_argc = argc;
    app->m_argv = argv;
    if (app->m_strAppName.IsEmpty())
        app->m_strAppName = DefaultAppName(argc > 0 && argv ? argv[0] : nullptr);
    if (!app->InitInstance()) {
        // As the framework does: a failed start-up still cleans up.
        app->ExitInstance();
        return 1;
    }
    return app->Run();
}

void AfxInstallIdleHook() {
    static QPointer<QAbstractEventDispatcher> hooked;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher || hooked == dispatcher)
        return;
    hooked = dispatcher;
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, dispatcher, [] {
        if (CWinApp* app = AfxGetApp())
            app->OnIdle(0);
    });
}

BOOL AfxOleInit() {
    AfxGetThreadState()->m_bNeedTerm = TRUE;
    return TRUE;
}

_AFX_THREAD_STATE* AfxGetThreadState() {
    thread_local _AFX_THREAD_STATE state;
    return &state;
}
void AfxEnableControlContainer() {}
void InitCommonControls() {}
