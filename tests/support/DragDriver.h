#pragma once

#include "platform/gui/data/Clipboard.h"

#include <QPoint>
#include <QWidget>

#include <vector>

class COleDataSource;

// A drag loop for tests (COleDataSource::SetDragDropLoop): delivers the drag to one widget as Qt's drag
// delivers it (enter, a move at every point, then a drop at the last point, or a leave) and returns the effect
// the drop ended with. Qt's own drag returns at once without a display.
class DragDriver {
public:
    DragDriver(QWidget* target, std::vector<QPoint> points, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               bool drop = true);

    DROPEFFECT operator()(COleDataSource& source, DROPEFFECT allowed) const;

private:
    QWidget* m_target;
    std::vector<QPoint> m_points;
    Qt::KeyboardModifiers m_modifiers;
    bool m_drop;
};
