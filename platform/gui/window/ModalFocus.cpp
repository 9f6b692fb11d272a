#include "ModalFocus.h"

#include <QApplication>

CModalFocus::CModalFocus(QWidget* owner) {
    QWidget* active = QApplication::activeWindow();
    m_previous = active ? active : (owner ? owner->window() : nullptr);
}

CModalFocus::~CModalFocus() {
    if (m_previous && m_previous->isVisible())
        m_previous->activateWindow();
}
