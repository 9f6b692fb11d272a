#pragma once

#include "tests/support/TempDir.h"
#include "tests/support/XServer.h"

#include <QImage>
#include <QMargins>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

// An X server of its own (Xvfb, 1280 x 1024), with or without a window manager on it, as an operator's desktop
// is. Everything the tests do to the program goes through it: pointer and keys as real input events (xdotool
// over the XTest extension), windows and their places as the server knows them (xwininfo), and what the screen
// shows, read from the file the server keeps its screen in.
class XDesktop {
public:
    explicit XDesktop(bool windowManager);
    ~XDesktop();
    XDesktop(const XDesktop&) = delete;
    XDesktop& operator=(const XDesktop&) = delete;

    // Empty when the server (and the window manager, when asked for) stands.
    const std::string& Error() const { return m_error; }
    bool HasWindowManager() const { return m_windowManager; }
    // The environment a program on this desktop runs in.
    const QProcessEnvironment& Environment() const { return m_env; }

    // Runs a tool against the server; its output. A tool that fails or hangs fails the test.
    QString Tool(const QString& name, const QStringList& arguments, int timeoutMs = 20000) const;

    // Input.
    void MoveTo(QPoint p) const;
    void Click(QPoint p, int button = 1) const;
    void DoubleClick(QPoint p) const;
    void Press(QPoint p, int button = 1) const;
    void Release(int button = 1) const;
    // Presses, moves in steps as a hand does, and releases.
    void Drag(QPoint from, QPoint to) const;
    // Keys in xdotool's names ("Return", "alt+e", "Down").
    void Keys(const QStringList& keys) const;
    // Another client moved the pointer: where it stands is asked before the next move.
    void PointerMovedElsewhere() const { m_pointer = QPoint(-1, -1); }
    void Type(const QString& text) const;

    // Moves the pointer to the screen's lower right corner, where no window of the program stands: the screen
    // file shows the pointer, which would stand in the way of what is read there.
    void ParkPointer() const;
    // The screen as it is now.
    QImage Screen() const;
    // Keeps the screen as it is now for a person to look at why a test failed; the picture's path.
    std::string KeepScreen(const QString& why) const;

    struct Window {
        QString id;
        QString name;
        QRect rect;         // the client area on the screen
        bool popup = false; // override-redirect: a menu, a list, a tip
    };
    // The visible windows whose class is the given one, as the server has them now.
    std::vector<Window> Windows(const QString& className) const;
    // The window that has the keyboard focus.
    QString FocusedWindow() const;
    // The frame a window manager drew around a window; none without one.
    QMargins FrameExtents(const QString& id) const;

private:
    bool m_windowManager;
    std::string m_error;
    XServer m_server;
    TempDir m_runtime;
    QProcessEnvironment m_env;
    std::unique_ptr<QProcess> m_manager;
    mutable QPoint m_pointer{-1, -1}; // where the pointer was last put; (-1, -1) when not known
};
