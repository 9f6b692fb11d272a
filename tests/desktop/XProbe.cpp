#include "XProbe.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>
#include <sstream>

namespace {

std::string Id(WId window) { return std::to_string(static_cast<unsigned long>(window)); }

// The text after "NAME" and "=" in xprop's answer for one property; empty when the window has none.
QString PropertyValue(WId window, const char* name) {
    const QString out =
        QString::fromStdString(RunTool("xprop -id " + Id(window) + " " + name + " 2>/dev/null")).trimmed();
    const int equals = out.indexOf('=');
    return out.startsWith(QLatin1String(name)) && equals > 0 ? out.mid(equals + 1).trimmed() : QString();
}

} // namespace

std::string RunTool(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

QMargins FrameExtents(WId window) {
    // left, right, top, bottom
    const QStringList v = PropertyValue(window, "_NET_FRAME_EXTENTS").split(',', Qt::SkipEmptyParts);
    if (v.size() != 4)
        return {};
    return QMargins(v[0].trimmed().toInt(), v[2].trimmed().toInt(), v[1].trimmed().toInt(), v[3].trimmed().toInt());
}

QRect ClientOnScreen(WId window) {
    std::istringstream out(RunTool("xwininfo -id " + Id(window) + " 2>/dev/null"));
    int x = 0, y = 0, width = 0, height = 0;
    for (std::string line; std::getline(out, line);) {
        const auto value = [&line]() { return std::stoi(line.substr(line.find(':') + 1)); };
        if (line.find("Absolute upper-left X:") != std::string::npos)
            x = value();
        else if (line.find("Absolute upper-left Y:") != std::string::npos)
            y = value();
        else if (line.find("  Width:") != std::string::npos)
            width = value();
        else if (line.find("  Height:") != std::string::npos)
            height = value();
    }
    return QRect(x, y, width, height);
}

QRect FrameOnScreen(WId window) { return ClientOnScreen(window).marginsAdded(FrameExtents(window)); }

QStringList AllowedActions(WId window) {
    QStringList actions;
    for (const QString& atom : PropertyValue(window, "_NET_WM_ALLOWED_ACTIONS").split(',', Qt::SkipEmptyParts))
        actions << atom.trimmed().remove(QStringLiteral("_NET_WM_ACTION_"));
    return actions;
}

std::vector<unsigned long> MotifHints(WId window) {
    std::vector<unsigned long> hints;
    for (const QString& number : PropertyValue(window, "_MOTIF_WM_HINTS").split(',', Qt::SkipEmptyParts))
        hints.push_back(number.trimmed().toULong(nullptr, 0));
    return hints;
}

void ActivateWindow(WId window) { RunTool("xdotool windowactivate --sync " + Id(window) + " 2>/dev/null"); }

void MovePointer(int x, int y) {
    RunTool("xdotool mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " 2>/dev/null");
}

bool WaitUntil(const std::function<bool()>& condition, int limitMs) {
    for (int waited = 0; waited < limitMs; waited += 20) {
        QCoreApplication::processEvents();
        if (condition())
            return true;
        QThread::msleep(20);
    }
    QCoreApplication::processEvents();
    return condition();
}
