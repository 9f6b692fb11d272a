#pragma once

#include <QMenu>

// The window of a pop-up menu made by this layer: its items name themselves to the menu style (so owner-drawn
// items are measured and drawn by their owner), and a key that matches no item's mnemonic asks the owner with
// WM_MENUCHAR.
class CPopupMenuWidget : public QMenu {
public:
    explicit CPopupMenuWidget(QWidget* parent = nullptr);

protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The result of WM_MENUCHAR for the key, or MNC_IGNORE (0) when Qt's own mnemonics take it.
    bool AskOwner(QKeyEvent* event);
};
