#include "XDesktop.h"

#include "tests/support/XwdImage.h"

#include <QDir>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

// The tools come and go as clients; a server that reset whenever the last of them left would cut off a program
// or window manager still connecting.
XDesktop::XDesktop(bool windowManager)
    : m_windowManager(windowManager), m_server(XServer::kScreenInFile, {"-noreset"}) {
    chmod(m_runtime.Path().c_str(), 0700);
    if (m_server.Display().empty()) {
        m_error = m_server.Error();
        return;
    }
    m_env = QProcessEnvironment::systemEnvironment();
    m_env.insert("DISPLAY", QString::fromStdString(m_server.Display()));
    m_env.insert("XDG_RUNTIME_DIR", QString::fromStdString(m_runtime.Path()));
    m_env.remove("XAUTHORITY");
    if (!windowManager)
        return;
    // The manager reads its settings from the system's files, never from the user's; under load it now and then
    // gives up while it starts, and another one is started then.
    QProcessEnvironment managerEnv = m_env;
    managerEnv.insert("XDG_CONFIG_HOME", QString::fromStdString(m_runtime.Path()));
    managerEnv.insert("XDG_CACHE_HOME", QString::fromStdString(m_runtime.Path()));
    QByteArray said;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (m_manager) {
            m_manager->kill();
            m_manager->waitForFinished(5000);
        }
        m_manager = std::make_unique<QProcess>();
        m_manager->setProcessEnvironment(managerEnv);
        m_manager->setProcessChannelMode(QProcess::MergedChannels);
        m_manager->start("openbox", {"--sm-disable"});
        if (!m_manager->waitForStarted(10000)) {
            m_error = "openbox does not start";
            return;
        }
        // The manager stands once it has claimed the screen: its check window carries its name.
        for (int i = 0; i < 200 && m_manager->state() == QProcess::Running; ++i) {
            QProcess probe;
            probe.setProcessEnvironment(m_env);
            probe.start("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"});
            probe.waitForFinished(5000);
            if (probe.readAllStandardOutput().contains("window id"))
                return;
            QThread::msleep(50);
        }
        said += m_manager->readAll();
    }
    m_error =
        "openbox did not take the screen (" + std::to_string(int(m_manager->state())) + "): " + said.toStdString();
}

XDesktop::~XDesktop() {
    // The manager goes before its server.
    if (m_manager && m_manager->state() != QProcess::NotRunning) {
        m_manager->terminate();
        if (!m_manager->waitForFinished(5000)) {
            m_manager->kill();
            m_manager->waitForFinished(5000);
        }
    }
}

QString XDesktop::Tool(const QString& name, const QStringList& arguments, int timeoutMs) const {
    QProcess tool;
    tool.setProcessEnvironment(m_env);
    tool.start(name, arguments);
    const bool finished = tool.waitForFinished(timeoutMs);
    EXPECT_TRUE(finished) << name.toStdString() << " " << arguments.join(' ').toStdString() << " hangs";
    if (!finished) {
        tool.kill();
        tool.waitForFinished(5000);
    }
    EXPECT_EQ(tool.exitCode(), 0) << name.toStdString() << " " << arguments.join(' ').toStdString() << ": "
                                  << tool.readAllStandardError().toStdString();
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

void XDesktop::MoveTo(QPoint p) const {
    if (m_pointer == QPoint(-1, -1)) {
        // "X:640 Y:512 screen:0 window:..."
        const QStringList where = Tool("xdotool", {"getmouselocation"}).split(' ');
        if (where.size() >= 2)
            m_pointer = QPoint(where[0].mid(2).toInt(), where[1].mid(2).toInt());
    }
    // A move waits until the pointer has moved, which it never does when it stands there already.
    if (p != m_pointer)
        Tool("xdotool", {"mousemove", "--sync", QString::number(p.x()), QString::number(p.y())});
    m_pointer = p;
}

void XDesktop::ParkPointer() const { MoveTo(QPoint(1279, 1023)); }

void XDesktop::Click(QPoint p, int button) const {
    MoveTo(p);
    Tool("xdotool", {"click", QString::number(button)});
}

void XDesktop::DoubleClick(QPoint p) const {
    MoveTo(p);
    Tool("xdotool", {"click", "--repeat", "2", "--delay", "80", "1"});
}

void XDesktop::Press(QPoint p, int button) const {
    MoveTo(p);
    Tool("xdotool", {"mousedown", QString::number(button)});
}

void XDesktop::Release(int button) const { Tool("xdotool", {"mouseup", QString::number(button)}); }

void XDesktop::Drag(QPoint from, QPoint to) const {
    Press(from);
    constexpr int kSteps = 4;
    for (int i = 1; i <= kSteps; ++i)
        MoveTo(from + (to - from) * i / kSteps);
    Release();
}

void XDesktop::Keys(const QStringList& keys) const { Tool("xdotool", QStringList{"key", "--delay", "30"} + keys); }

void XDesktop::Type(const QString& text) const { Tool("xdotool", {"type", "--delay", "30", text}); }

QImage XDesktop::Screen() const { return ReadXwdFile(m_server.ScreenFile()); }

std::string XDesktop::KeepScreen(const QString& why) const {
    static int count = 0;
    QDir().mkpath(VELTRANO_SCREENS);
    const QString path = QString(VELTRANO_SCREENS "/failed-%1-%2-%3.png").arg(getpid()).arg(++count).arg(why);
    Screen().save(path);
    return path.toStdString();
}

std::vector<XDesktop::Window> XDesktop::Windows(const QString& className) const {
    std::vector<Window> windows;
    QProcess search;
    search.setProcessEnvironment(m_env);
    // No window of the class is not a failure: search answers 1 then.
    search.start("xdotool", {"search", "--onlyvisible", "--classname", "^" + className + "$"});
    search.waitForFinished(10000);
    for (const QString& id : QString::fromLocal8Bit(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        QProcess info;
        info.setProcessEnvironment(m_env);
        info.start("xwininfo", {"-id", id.trimmed()});
        info.waitForFinished(10000);
        if (info.exitCode() != 0)
            continue; // gone in the meantime
        Window window;
        window.id = id.trimmed();
        int x = 0, y = 0, width = 0, height = 0;
        for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split('\n')) {
            const QString text = line.trimmed();
            const auto value = [&](const char* label) { return text.mid(int(strlen(label))).trimmed(); };
            if (text.startsWith("xwininfo: Window id:")) {
                const int quote = text.indexOf('"');
                window.name = quote < 0 ? QString() : text.mid(quote + 1).chopped(1);
            } else if (text.startsWith("Absolute upper-left X:")) {
                x = value("Absolute upper-left X:").toInt();
            } else if (text.startsWith("Absolute upper-left Y:")) {
                y = value("Absolute upper-left Y:").toInt();
            } else if (text.startsWith("Width:")) {
                width = value("Width:").toInt();
            } else if (text.startsWith("Height:")) {
                height = value("Height:").toInt();
            } else if (text.startsWith("Override Redirect State:")) {
                window.popup = value("Override Redirect State:") == "yes";
            }
        }
        window.rect = QRect(x, y, width, height);
        windows.push_back(window);
    }
    return windows;
}

QString XDesktop::FocusedWindow() const {
    QProcess focus;
    focus.setProcessEnvironment(m_env);
    focus.start("xdotool", {"getwindowfocus"});
    focus.waitForFinished(10000);
    return QString::fromLatin1(focus.readAllStandardOutput()).trimmed();
}

QMargins XDesktop::FrameExtents(const QString& id) const {
    QProcess prop;
    prop.setProcessEnvironment(m_env);
    prop.start("xprop", {"-id", id, "_NET_FRAME_EXTENTS"});
    prop.waitForFinished(10000);
    const QString text = QString::fromLatin1(prop.readAllStandardOutput());
    const int equals = text.indexOf('=');
    if (equals < 0)
        return {};
    const QStringList values = text.mid(equals + 1).split(',');
    if (values.size() != 4)
        return {};
    // In the order left, right, top, bottom.
    return QMargins(values[0].trimmed().toInt(), values[2].trimmed().toInt(), values[1].trimmed().toInt(),
                    values[3].trimmed().toInt());
}
