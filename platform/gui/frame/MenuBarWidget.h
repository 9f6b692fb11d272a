#pragma once

#include <QMenuBar>

// A frame's menu bar: its items name themselves to the menu style, so owner-drawn bar items reach the frame.
class CMenuBarWidget : public QMenuBar {
public:
    explicit CMenuBarWidget(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;
};
