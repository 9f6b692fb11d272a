#include "MenuBarWidget.h"

#include "MenuStyle.h"

#include <QStyleOptionMenuItem>

CMenuBarWidget::CMenuBarWidget(QWidget* parent) : QMenuBar(parent) { setStyle(CMenuStyle::Instance()); }

void CMenuBarWidget::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
    QMenuBar::initStyleOption(option, action);
    CMenuStyle::NoteItem(option, action);
}
