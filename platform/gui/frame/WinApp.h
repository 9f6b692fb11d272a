#pragma once

#include "platform/gui/window/CmdTarget.h"
#include "platform/gui/window/Cursor.h"

#include "platform/os/Object.h"
#include "platform/os/String.h"
#include "platform/os/Types.h"

#include <memory>
#include <vector>

class CDocTemplate;
class CWaitCursor;
class CWnd;

// How the program was asked to start: the framework's standard single-document options.
class CCommandLineInfo {
public:
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing = -1 };

    CCommandLineInfo() = default;
    virtual ~CCommandLineInfo() = default;
    // One argument (without the program's name); flags start with "/" or "-".
    virtual void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast);

    int m_nShellCommand = FileNew;
    CString m_strFileName;
    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    // The first option, as typed, that this program does not carry out: one it does not know, or printing and
    // registering, which it has nothing for. ProcessShellCommand names it to the operator and ends.
    CString m_strRefusedOption;
};

// The application object: one per program, made before the program's entry runs. Its InitInstance builds the
// main window; Run runs the event loop; ExitInstance ends. Commands that no window handles reach its handlers
// (ID_APP_EXIT, ID_FILE_NEW, and those a derived application maps).
class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();
    // The work of a moment when the event loop has nothing else to do: the main window's bars are brought up to
    // date. FALSE: no more idle work is wanted.
    virtual BOOL OnIdle(LONG lCount);

    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const { return ::LoadCursor(nullptr, lpszCursorName); }
    void AddDocTemplate(CDocTemplate* pTemplate); // the application owns it
    CDocTemplate* GetFirstDocTemplate() const;
    // "/" starts an option only when a known word follows, so that absolute paths stay paths; "-" always does.
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void OnFileNew();
    // The document keeps nothing in files, so there is nothing to open.
    void OnFileOpen();
    void OnAppExit();
    // The wait cursor over the whole application until the matching EndWaitCursor; pairs nest.
    void BeginWaitCursor();
    void EndWaitCursor();

    CWnd* m_pMainWnd = nullptr;
    CString m_strAppName;
    CString m_strRegistryKey;
    UINT m_nMaxMRU = 0;
    int m_argc = 0;
    char** m_argv = nullptr;

private:
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::vector<std::unique_ptr<CWaitCursor>> m_waitCursors;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
LPCTSTR AfxGetAppName();
// The one module: the program itself, which also holds the resources.
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// The program's entry: makes the Qt application (unless one exists), sets the system colours and the real
// message box, names the application (when it was made without a name) from its title string, else after the
// executable, runs InitInstance, then (when it returned TRUE) the event loop until the main window is gone,
// then ExitInstance. Returns the exit code: 1 when start-up failed.
int AfxWinMain(int argc, char** argv);

// Has the application's OnIdle run each time the event loop is about to wait for events, as the framework's message
// loop runs it when its queue is empty. Frames install it; once is enough.
void AfxInstallIdleHook();

// Start-up services of the platform that need nothing here; they succeed.
// AfxOleInit marks OLE as initialised for the calling thread (m_bNeedTerm), as the framework's thread state does.
BOOL AfxOleInit();
struct _AFX_THREAD_STATE {
    BOOL m_bNeedTerm = FALSE;
};
_AFX_THREAD_STATE* AfxGetThreadState();
void AfxEnableControlContainer();
void InitCommonControls();
