#pragma once

#include "Menu.h"
#include "platform/gui/base/Handles.h"

#include <QProxyStyle>

class CWnd;
class QAction;

// The style of the layer's menus and menu bars. Items of type MFT_OWNERDRAW are measured with WM_MEASUREITEM and
// drawn with WM_DRAWITEM by the window that owns the menu (the frame for its menu bar and the pop-ups under it,
// the window TrackPopupMenu names); every other item is left to the application's style. A pop-up item's
// rectangle is given in the menu's client coordinates (the first item starts at 0, 0, inside the frame), a
// bar item's in the bar's, which are the frame's client coordinates.
class CMenuStyle : public QProxyStyle {
public:
    static CMenuStyle* Instance();

    // The menu widgets name the item whose style option they have just filled.
    static void NoteItem(const QStyleOption* option, const QAction* action);

    // The window that owns a menu, a menu bar and the pop-ups below them; null forgets it.
    static void SetMenuOwner(QObject* menuOrBar, CWnd* owner);
    // The owner of a menu widget, or of the nearest menu above it; null when none is alive.
    static CWnd* GetMenuOwner(const QObject* menuOrBar);
    // The menu whose item is being measured while WM_MEASUREITEM is out, else null (the record carries none).
    static HMENU GetMeasuringMenu();

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;

private:
    CMenuStyle();
};
