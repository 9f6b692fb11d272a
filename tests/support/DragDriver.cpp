#include "DragDriver.h"

#include "platform/gui/data/OleDataSource.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

#include <memory>

DragDriver::DragDriver(QWidget* target, std::vector<QPoint> points, Qt::KeyboardModifiers modifiers, bool drop)
    : m_target(target), m_points(std::move(points)), m_modifiers(modifiers), m_drop(drop) {}

DROPEFFECT DragDriver::operator()(COleDataSource& source, DROPEFFECT allowed) const {
    if (!m_target || m_points.empty())
        return DROPEFFECT_NONE;
    std::unique_ptr<QMimeData> data(source.CreateMimeData());
    const Qt::DropActions actions = DropActionsFromEffects(allowed);
    QDragEnterEvent enter(m_points.front(), actions, data.get(), Qt::LeftButton, m_modifiers);
    QApplication::sendEvent(m_target, &enter);
    if (!enter.isAccepted())
        return DROPEFFECT_NONE;

    bool accepted = false;
    Qt::DropAction action = Qt::IgnoreAction;
    for (const QPoint& point : m_points) {
        QDragMoveEvent move(point, actions, data.get(), Qt::LeftButton, m_modifiers);
        QApplication::sendEvent(m_target, &move);
        accepted = move.isAccepted();
        action = move.dropAction();
    }
    if (!m_drop || !accepted) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(m_target, &leave);
        return DROPEFFECT_NONE;
    }
    QDropEvent drop(m_points.back(), actions, data.get(), Qt::LeftButton, m_modifiers);
    drop.setDropAction(action);
    QApplication::sendEvent(m_target, &drop);
    return drop.isAccepted() ? DropEffectFromAction(drop.dropAction()) : DROPEFFECT_NONE;
}
