#include "VeltranoApp.h"

#include "AboutDlg.h"
#include "MainFrame.h"
#include "VeltranoDoc.h"
#include "VeltranoView.h"

#include "core/StartUpFaults.h"
#include "core/SystemConfig.h"
#include "core/WallModel.h"
#include "res/ResourceTables.h"
#include "skin/MenuXP.h"

#include "platform/gui/frame/DocTemplate.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/window/SystemMetrics.h"
#include "platform/os/Gbk.h"

#include <string>

namespace {

constexpr UINT IDR_MAINFRAME = 128;
constexpr int kPreferredWidth = 1024;

} // namespace

CVeltranoApp::CVeltranoApp() : CWinApp(nullptr) {
    OnCommandId(ID_APP_ABOUT, [this]() { OnAppAbout(); });
}

CVeltranoApp::~CVeltranoApp() = default;

BOOL CVeltranoApp::InitInstance() {
    InitCommonControls();
    CWinApp::InitInstance();
    if (!AfxOleInit()) {
        CString text;
        AfxLoadString(IDP_OLE_INIT_FAILED, text);
        AfxMessageBox(text.Str());
        return FALSE;
    }
    AfxEnableControlContainer();
    InstallMenuXPHook();
    SetRegistryKey(Utf8ToGbkLiteral("应用程序向导生成的本地应用程序").c_str());
    LoadStdProfileSettings(4);

    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CVeltranoDoc), RUNTIME_CLASS(CMainFrame),
                                          RUNTIME_CLASS(CVeltranoView)));
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;

    // A screen exactly 1024 wide gets 1014, not 1024.
    const int fullWidth = GetSystemMetrics(SM_CXFULLSCREEN);
    const int width = fullWidth > kPreferredWidth ? kPreferredWidth : fullWidth - 10;
    m_pMainWnd->MoveWindow(0, 0, width, GetSystemMetrics(SM_CYFULLSCREEN) - 10);
    m_pMainWnd->CenterWindow();
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();

    std::string name;
    std::string version;
    std::string company;
    std::string title;
    CWallModel::GetInstance()->GetSettings()->LoadSystemInfo(name, version, company, title);
    m_pMainWnd->SetWindowText(title.c_str());

    // Over the window the operator now sees: the configuration files that could not be used, if any.
    ReportStartUpFaults();
    return TRUE;
}

// Leaves without the framework's own exit step, which would write the recent-file list.
int CVeltranoApp::ExitInstance() {
    UninstallMenuXPHook();
    return 0;
}

void CVeltranoApp::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}

int VeltranoMain(int argc, char** argv) {
    // The program's resources come first: the entry names the application after the title string, and that name
    // captions every message box.
    RegisterResourceTables();
    return AfxWinMain(argc, argv);
}
