#include "PaintLog.h"

#include <QCoreApplication>
#include <QPaintEvent>

PaintLog::PaintLog() { QCoreApplication::instance()->installEventFilter(this); }

PaintLog::~PaintLog() { QCoreApplication::instance()->removeEventFilter(this); }

QRegion PaintLog::All(const QWidget* widget) {
    QRegion all;
    for (const QRegion& region : m_paints[widget])
        all += region;
    return all;
}

bool PaintLog::eventFilter(QObject* object, QEvent* event) {
    if (event->type() == QEvent::Paint)
        m_paints[object].push_back(static_cast<QPaintEvent*>(event)->region());
    return false;
}

bool OnlyLines(const QRegion& region) {
    for (const QRect& r : region)
        if (r.width() != 1 && r.height() != 1)
            return false;
    return true;
}
