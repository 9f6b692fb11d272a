#include "WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace {

bool HaveGui() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

} // namespace

CWaitCursor::CWaitCursor() {
    if (HaveGui()) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        m_shown = true;
    }
}

CWaitCursor::~CWaitCursor() {
    if (m_shown && HaveGui())
        QGuiApplication::restoreOverrideCursor();
}

void CWaitCursor::Restore() {
    if (m_shown && HaveGui())
        QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
}
