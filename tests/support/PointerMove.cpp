#include "PointerMove.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

namespace {

// Watches the whole application, as the move may reach another widget than the one under the pointer (the
// window that holds the mouse grab).
class MoveWatcher : public QObject {
public:
    explicit MoveWatcher(QPoint global) : m_global(global) {}
    bool m_seen = false;

    bool eventFilter(QObject* /*object*/, QEvent* event) override {
        if (event->type() == QEvent::MouseMove &&
            static_cast<QMouseEvent*>(event)->globalPosition().toPoint() == m_global)
            m_seen = true;
        return false;
    }

private:
    QPoint m_global;
};

bool MoveOnce(QWidget* widget, QPoint pos, int timeoutMs) {
    MoveWatcher watcher(widget->mapToGlobal(pos));
    qApp->installEventFilter(&watcher);
    QTest::mouseMove(widget, pos);
    const bool seen = watcher.m_seen || QTest::qWaitFor([&watcher] { return watcher.m_seen; }, timeoutMs);
    qApp->removeEventFilter(&watcher);
    return seen;
}

} // namespace

bool MovePointer(QWidget* widget, QPoint pos, int timeoutMs) {
    // A pointer that is there already moves nowhere and reports nothing: on a shared display it stays where the
    // last test left it. Step next to the point first.
    if (QCursor::pos() == widget->mapToGlobal(pos) && !MoveOnce(widget, pos + QPoint(1, 0), timeoutMs))
        return false;
    return MoveOnce(widget, pos, timeoutMs);
}
