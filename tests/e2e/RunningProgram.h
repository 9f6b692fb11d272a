#pragma once

#include "ScreenReading.h"
#include "XDesktop.h"

#include "tests/support/Pty.h"
#include "tests/support/TempDir.h"

#include <QProcess>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Waits until the condition holds, looking again every few milliseconds; false when it still does not after
// the time given. Only waiting: no test depends on how long anything takes.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 10000);

// The built program started as scripts/run.sh starts it: in a working folder of its own holding a copy of the
// sample configuration, on a desktop, with its serial ports (COM1 the wall and the first matrix, COM2 and COM4 the
// other matrices, COM3 the monitor remote) led to pseudo-terminals through a port directory. The working folder
// may be given a name, inside the temporary one.
class RunningProgram {
public:
    explicit RunningProgram(const XDesktop& desktop, const std::string& folderName = {});
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // Starts it and waits for its main window to stand painted, or only to show (settle false, where a message
    // box covers it); false (with a failure said) when it does not.
    bool Start(bool settle = true);
    // Waits until the main window stands still at a place and size with its panes and the wall drawn, and
    // reads that layout; false (with a failure said) when it does not.
    bool WaitForLayout();
    // Ends it at once, as a power cut or an operator's kill does.
    void Kill();
    qint64 ProcessId() const { return m_process.processId(); }
    // Waits for it to end by itself; false when it still runs.
    bool WaitForExit(int timeoutMs = 10000);
    int ExitCode() const { return m_process.exitCode(); }
    bool ExitedNormally() const { return m_process.exitStatus() == QProcess::NormalExit; }
    QString Said(); // what it wrote on its standard error and output so far
    // The memory it holds now, as the kernel counts it (its resident set), and the most it held so far; in bytes.
    long long ResidentBytes() const;
    long long PeakResidentBytes() const;

    const TempDir& Folder() const { return m_work; }
    // A file of the working folder.
    std::string WorkFile(const std::string& name) const { return m_dir + "/" + name; }
    std::string FileText(const std::string& name) const;
    // The far end of "COMn".
    Pty& Port(int n) { return *m_ports.at(n); }
    // Clicks the banner's "Open" and waits until the wall's port is open.
    bool OpenWallPort();
    // Waits until the program holds the device behind "COMn" open; false, with a failure that says what held it
    // instead, when it does not.
    bool WaitForPortOpen(int n);

    // The main window's client area, its panes and the wall's cells, as the screen shows them now.
    struct Layout {
        QRect client;
        QRect banner;   // the lower pane's client area
        QRect mainView; // the upper pane's client area
        QRect wall;     // the wall view's client area
        WallGrid grid;
    };
    // Reads the main window's place from the X server; false when it is not shown.
    bool ReadPlace();
    // Reads the layout from the screen; false when the screen does not show the main window's panes.
    bool ReadLayout();
    const Layout& Main() const { return m_layout; }
    const QString& MainWindowId() const { return m_mainId; }

    // The middle of the menu bar's item (0 File, 1 Config).
    QPoint MenuBarPoint(int item) const;
    // A point of a control of the banner's form, on the screen.
    QPoint BannerPoint(int control) const;
    // Brings the property sheet's page in front by its tab (0 VIDEO, 1 VGA/DVI, 2 MENU, 3 Scene, 4 Other,
    // 5 Matrix) and answers the page's origin on the screen; a null point when the tabs cannot be found.
    QPoint ShowPage(int tab);
    // A point of a control of the page in front.
    QPoint PagePoint(unsigned page, int control) const;

    // Opens a menu of the menu bar (0 File, 1 Config) and chooses its item by the line of text it shows; the
    // window that item opens, when it opens one.
    XDesktop::Window ChooseFromMenuBar(int menu, int item);
    // Waits until the window has the keyboard focus.
    bool WaitForFocus(const XDesktop::Window& window) const;
    // The program's visible windows other than the main window: dialogs, message boxes, menus, tips.
    std::vector<XDesktop::Window> OtherWindows() const;
    // Waits for a window of the program that is not among the known ones; its place, or an empty id.
    XDesktop::Window WaitForNewWindow(const std::vector<XDesktop::Window>& known, bool popup, int timeoutMs = 10000);
    // Waits until none of the program's windows but the main window is left.
    bool WaitForOnlyMainWindow(int timeoutMs = 10000) const;

private:
    const XDesktop& m_desktop;
    TempDir m_work;
    std::string m_dir;
    TempDir m_portDir;
    TempDir m_config;
    std::map<int, std::unique_ptr<Pty>> m_ports;
    QProcess m_process;
    QString m_mainId;
    Layout m_layout;
    QPoint m_pageOrigin;
    QByteArray m_said;
};
