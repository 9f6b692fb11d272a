#include "MenuBarWidget.h"

#include "MenuStyle.h"

#include <QAction>
#include <QEvent>
#include <QStyleOptionMenuItem>

CMenuBarWidget::CMenuBarWidget(QWidget* parent) : QMenuBar(parent) { setStyle(CMenuStyle::Instance()); }

// Owner-drawn items show whether their window is active. Qt repaints a widget on its window's activation only when
// the palette's active and inactive colours differ, and the classic colour table makes them alike. The items alone
// change: the rest of the bar stays as it is.
bool CMenuBarWidget::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate) {
        for (QAction* action : actions())
            update(actionGeometry(action));
    }
    return QMenuBar::event(event);
}

void CMenuBarWidget::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
    QMenuBar::initStyleOption(option, action);
    CMenuStyle::NoteItem(option, action);
}
