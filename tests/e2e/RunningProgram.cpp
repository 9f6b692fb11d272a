#include "RunningProgram.h"

#include "Templates.h"

#include <QDir>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifndef VELTRANO_PROGRAM
#error "VELTRANO_PROGRAM must name the built program"
#endif

namespace {

std::string ProcText(qint64 pid, const char* name) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/" + name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A figure of /proc/<pid>/status given in kB ("VmRSS:   1234 kB"), in bytes; 0 when it is not there.
long long StatusBytes(qint64 pid, const std::string& name) {
    std::istringstream status(ProcText(pid, "status"));
    std::string line;
    while (std::getline(status, line))
        if (line.compare(0, name.size() + 1, name + ":") == 0)
            return std::stoll(line.substr(name.size() + 1)) * 1024;
    return 0;
}

// Whether the process holds the file open.
bool Holds(const std::string& pid, const std::string& path) {
    std::error_code ec;
    // Processes come and go while they are looked at: a folder that is gone ends the look quietly.
    for (std::filesystem::directory_iterator fd("/proc/" + pid + "/fd", ec), end; !ec && fd != end; fd.increment(ec))
        if (std::error_code gone; std::filesystem::read_symlink(fd->path(), gone) == path)
            return true;
    return false;
}

// The processes that hold the file open, as "pid (name)".
std::string Holders(const std::string& path) {
    std::string holders;
    std::error_code ec;
    for (std::filesystem::directory_iterator p("/proc", ec), end; !ec && p != end; p.increment(ec)) {
        const std::string pid = p->path().filename().string();
        if (pid.find_first_not_of("0123456789") == std::string::npos && Holds(pid, path)) {
            const std::string name = ProcText(std::stoll(pid), "comm");
            holders += (holders.empty() ? "" : ", ") + pid + " (" + name.substr(0, name.find('\n')) + ")";
        }
    }
    return holders.empty() ? "nothing" : holders;
}

} // namespace

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QThread::msleep(30);
    }
}

RunningProgram::RunningProgram(const XDesktop& desktop, const std::string& folderName)
    : m_desktop(desktop), m_dir(folderName.empty() ? m_work.Path() : m_work.File(folderName)) {
    std::filesystem::create_directories(m_dir);
    for (const char* name : {"command.xml", "system.xml", "matrix.xml"})
        std::filesystem::copy_file(std::string(VELTRANO_SOURCE_DIR) + "/res/" + name, WorkFile(name));
    for (int n = 1; n <= 4; ++n) {
        m_ports[n] = std::make_unique<Pty>();
        std::filesystem::create_symlink(m_ports[n]->SlavePath(), m_portDir.File("COM" + std::to_string(n)));
    }
}

RunningProgram::~RunningProgram() {
    if (m_process.state() != QProcess::NotRunning)
        Kill();
}

std::string RunningProgram::FileText(const std::string& name) const {
    std::ifstream in(WorkFile(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool RunningProgram::Start(bool settle) {
    QProcessEnvironment env = m_desktop.Environment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("VELTRANO_PORT_DIR", QString::fromStdString(m_portDir.Path()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(m_config.Path()));
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setWorkingDirectory(QString::fromStdString(m_dir));
    m_mainId.clear();
    m_said.clear();
    m_process.start(QStringLiteral(VELTRANO_PROGRAM), {});
    if (!m_process.waitForStarted(10000)) {
        ADD_FAILURE() << "the program does not start";
        return false;
    }
    const bool shown = WaitFor(
        [&] {
            for (const XDesktop::Window& window : m_desktop.Windows("veltrano"))
                if (!window.popup && window.rect.width() > 800) {
                    m_mainId = window.id;
                    m_layout.client = window.rect;
                    return true;
                }
            // Without an event loop the process learns of its child's end only when asked.
            m_process.waitForFinished(0);
            return m_process.state() == QProcess::NotRunning;
        },
        20000);
    if (!shown || m_mainId.isEmpty() || m_process.state() == QProcess::NotRunning) {
        std::string state = m_process.state() == QProcess::NotRunning
                                ? "ended with " + std::to_string(m_process.exitCode()) +
                                      (m_process.exitStatus() == QProcess::CrashExit ? " (crashed)" : "")
                                : "runs, waiting in " + ProcText(m_process.processId(), "wchan") + " (" +
                                      ProcText(m_process.processId(), "stat") + ")";
        // The files it started on, kept for a person to look at.
        const std::string kept = VELTRANO_SCREENS "/failed-start-folder";
        std::filesystem::remove_all(kept);
        std::filesystem::copy(m_dir, kept, std::filesystem::copy_options::recursive);
        ADD_FAILURE() << "no main window; the program " << state << " and said: " << Said().toStdString()
                      << "; the screen is in " << m_desktop.KeepScreen("start") << ", the files it started on in "
                      << kept;
        return false;
    }
    if (!settle) {
        m_desktop.ParkPointer();
        return true;
    }
    // The window may show before it is moved to its place and given its size, by the program once the window
    // manager has told the frame it draws, or by the program alone without one.
    return WaitForLayout();
}

bool RunningProgram::WaitForLayout() {
    m_desktop.ParkPointer();
    // It stands once two looks a moment apart find the same place and the same layout.
    Layout last;
    const auto same = [](const Layout& a, const Layout& b) {
        return a.client == b.client && a.banner == b.banner && a.wall == b.wall &&
               a.grid.columnLines == b.grid.columnLines && a.grid.rowLines == b.grid.rowLines;
    };
    if (!WaitFor([&] {
            if (!ReadPlace() || !ReadLayout())
                return false;
            const bool settled = same(last, m_layout);
            last = m_layout;
            if (!settled)
                QThread::msleep(100);
            return settled;
        })) {
        ADD_FAILURE() << "the main window does not show its panes and the wall; the screen is in "
                      << m_desktop.KeepScreen("layout");
        return false;
    }
    return true;
}

void RunningProgram::Kill() {
    m_process.kill();
    m_process.waitForFinished(10000);
}

bool RunningProgram::OpenWallPort() {
    m_desktop.Click(BannerPoint(1003));
    return WaitForPortOpen(1);
}

bool RunningProgram::WaitForPortOpen(int n) {
    const std::string device = Port(n).SlavePath();
    const std::string pid = std::to_string(ProcessId());
    if (ProcessId() > 0 && WaitFor([&] { return Holds(pid, device); }))
        return true;
    const std::string said = Said().toStdString();
    ADD_FAILURE() << "COM" << n << " did not open: the program holds no handle on " << device << ", which "
                  << Holders(device) << " holds" << (said.empty() ? "" : "; it said: " + said) << "; the screen is in "
                  << m_desktop.KeepScreen("port");
    return false;
}

bool RunningProgram::WaitForExit(int timeoutMs) { return m_process.waitForFinished(timeoutMs); }

QString RunningProgram::Said() {
    // Without an event loop the pipe is read only when asked to.
    m_process.waitForReadyRead(0);
    m_said += m_process.readAll();
    return QString::fromLocal8Bit(m_said);
}

long long RunningProgram::ResidentBytes() const { return StatusBytes(m_process.processId(), "VmRSS"); }
long long RunningProgram::PeakResidentBytes() const { return StatusBytes(m_process.processId(), "VmHWM"); }

bool RunningProgram::ReadPlace() {
    for (const XDesktop::Window& window : m_desktop.Windows("veltrano"))
        if (window.id == m_mainId) {
            m_layout.client = window.rect;
            return true;
        }
    return false;
}

bool RunningProgram::ReadLayout() {
    const QImage screen = m_desktop.Screen();
    Layout& l = m_layout;
    const QRect c = l.client;
    // The upper pane's sunken edge under the menu bar, then the lower pane's under it.
    const int x = c.left() + 10;
    const int mainTop = SunkenTopBelow(screen, x, c.top(), c.bottom());
    const int bannerTop = mainTop < 0 ? -1 : SunkenTopBelow(screen, x, mainTop + 10, c.bottom());
    if (bannerTop < 0)
        return false;
    const int mainLeft = SunkenLeftRightOf(screen, mainTop + 5, c.left() - 1, c.left() + 30);
    const int bannerLeft = SunkenLeftRightOf(screen, bannerTop + 5, c.left() - 1, c.left() + 30);
    if (mainLeft < 0 || bannerLeft < 0)
        return false;
    l.mainView = QRect(QPoint(mainLeft, mainTop), QPoint(c.right(), bannerTop - 1));
    l.banner = QRect(QPoint(bannerLeft, bannerTop), c.bottomRight());
    // The wall view's own sunken edge inside the upper pane.
    const int row = mainTop + 40;
    const int wallLeft = SunkenLeftRightOf(screen, row, mainLeft + 1, c.right());
    const int wallTop = wallLeft < 0 ? -1 : SunkenTopBelow(screen, wallLeft + 20, mainTop, bannerTop);
    if (wallTop < 0)
        return false;
    const int wallRight = SunkenRightFrom(screen, wallTop + 5, wallLeft, c.right());
    const int wallBottom = SunkenBottomFrom(screen, wallLeft + 5, wallTop, bannerTop);
    if (wallRight < 0 || wallBottom < 0)
        return false;
    l.wall = QRect(QPoint(wallLeft, wallTop), QPoint(wallRight, wallBottom));
    l.grid = ReadWallGrid(screen, l.wall);
    return l.grid.Rows() > 0 && l.grid.Columns() > 0;
}

QPoint RunningProgram::MenuBarPoint(int item) const {
    // The bar stands between the window's top and the upper pane's edge, its labels in dark text.
    const QRect bar(QPoint(m_layout.client.left(), m_layout.client.top() + 2),
                    QPoint(m_layout.client.right(), m_layout.mainView.top() - 4));
    const std::vector<QRect> items = MenuBarItems(m_desktop.Screen(), bar);
    if (int(items.size()) <= item) {
        ADD_FAILURE() << "the menu bar shows " << items.size() << " items";
        return {};
    }
    return items[size_t(item)].center();
}

QPoint RunningProgram::BannerPoint(int control) const {
    return m_layout.banner.topLeft() + ControlCentre(Dialog::kBanner, control);
}

QPoint RunningProgram::ShowPage(int tab) {
    // The sheet stands where the banner's form keeps a place for it.
    const QRect sheet = ControlRect(Dialog::kBanner, 1051).translated(m_layout.banner.topLeft());
    int row = 0;
    m_desktop.ParkPointer();
    std::vector<int> borders = TabBorders(m_desktop.Screen(), sheet, &row);
    if (borders.size() != 7) {
        ADD_FAILURE() << "the sheet shows " << int(borders.size()) - 1 << " tabs, not 6; the screen is in "
                      << m_desktop.KeepScreen("tabs");
        return {};
    }
    m_desktop.Click(QPoint((borders[size_t(tab)] + borders[size_t(tab) + 1]) / 2, row + 4));
    m_desktop.ParkPointer();
    // The page in front changes what stands under the tabs; the tab borders move as the chosen tab grows.
    const bool shown = WaitFor([&] {
        int again = 0;
        const QImage screen = m_desktop.Screen();
        const std::vector<int> now = TabBorders(screen, sheet, &again);
        if (now.size() != 7)
            return false;
        m_pageOrigin = PageOrigin(screen, sheet, now, again);
        // The chosen tab is drawn taller: the row first met crosses it alone, or it is the first tab.
        return !m_pageOrigin.isNull();
    });
    if (!shown)
        ADD_FAILURE() << "the page under tab " << tab << " is not found; the screen is in "
                      << m_desktop.KeepScreen("page");
    QThread::msleep(150); // the page paints once it is in front
    return m_pageOrigin;
}

QPoint RunningProgram::PagePoint(unsigned page, int control) const {
    return m_pageOrigin + ControlCentre(page, control);
}

XDesktop::Window RunningProgram::ChooseFromMenuBar(int menu, int item) {
    const auto known = OtherWindows();
    m_desktop.Click(MenuBarPoint(menu));
    const XDesktop::Window popup = WaitForNewWindow(known, true);
    if (popup.id.isEmpty())
        return {};
    std::vector<QRect> lines;
    WaitFor([&] {
        // Where every item's label runs, away from the frame and the gutter at the left.
        const int w = popup.rect.width();
        lines = TextLines(m_desktop.Screen(), popup.rect.adjusted(w / 4, 3, -w * 9 / 20, -3));
        return int(lines.size()) > item;
    });
    if (int(lines.size()) <= item) {
        ADD_FAILURE() << "the menu shows " << lines.size() << " lines; the screen is in "
                      << m_desktop.KeepScreen("menu");
        return {};
    }
    m_desktop.Click(lines[size_t(item)].center());
    if (menu == 0)
        return {};
    const XDesktop::Window opened = WaitForNewWindow(known, false);
    // It paints once it stands, and takes the keyboard.
    WaitFor([&] { return ShowsSomething(m_desktop.Screen().copy(opened.rect)); });
    if (!opened.id.isEmpty())
        WaitForFocus(opened);
    return opened;
}

bool RunningProgram::WaitForFocus(const XDesktop::Window& window) const {
    const bool focused = WaitFor([&] { return m_desktop.FocusedWindow() == window.id; });
    if (!focused)
        ADD_FAILURE() << "the window " << window.id.toStdString() << " does not get the keyboard; "
                      << m_desktop.FocusedWindow().toStdString() << " has it";
    return focused;
}

std::vector<XDesktop::Window> RunningProgram::OtherWindows() const {
    std::vector<XDesktop::Window> others;
    for (const XDesktop::Window& window : m_desktop.Windows("veltrano"))
        if (window.id != m_mainId)
            others.push_back(window);
    return others;
}

XDesktop::Window RunningProgram::WaitForNewWindow(const std::vector<XDesktop::Window>& known, bool popup,
                                                  int timeoutMs) {
    XDesktop::Window found;
    WaitFor(
        [&] {
            for (const XDesktop::Window& window : OtherWindows()) {
                bool seen = false;
                for (const XDesktop::Window& old : known)
                    seen = seen || old.id == window.id;
                if (!seen && window.popup == popup && window.rect.width() > 1) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    if (found.id.isEmpty())
        ADD_FAILURE() << "no new " << (popup ? "menu, list or tip" : "window") << " shows; the screen is in "
                      << m_desktop.KeepScreen("window");
    return found;
}

bool RunningProgram::WaitForOnlyMainWindow(int timeoutMs) const {
    return WaitFor([&] { return OtherWindows().empty(); }, timeoutMs);
}
