#pragma once

#include "Menu.h"
#include "platform/gui/window/Messages.h"

#include "platform/os/Rect.h"
#include "platform/os/Types.h"

#include <QMargins>
#include <QMenu>
#include <QPointer>

class CDC;
class QEvent;
class QObject;

// A pop-up menu window from the moment it is about to show until it hides or is destroyed; the next showing of
// the same menu is a new window, as the platform makes one each time.
class CMenuWindow {
public:
    ~CMenuWindow() { QObject::disconnect(m_watch); }
    CMenuWindow(const CMenuWindow&) = delete;
    CMenuWindow& operator=(const CMenuWindow&) = delete;

    // The menu widget (its window), null once Qt has destroyed it.
    QMenu* GetMenuWidget() const { return m_menu; }
    HMENU GetMenu() const { return m_menu; }
    // Screen coordinates, as the window stands (or, while it is being placed, as it was proposed).
    void GetWindowRect(LPRECT lpRect) const;
    // The client area the hooks left, in client coordinates.
    void GetClientRect(LPRECT lpRect) const;
    // FALSE until the window is on the screen, so a hook can tell the first paint from later ones.
    BOOL IsWindowVisible() const { return m_visible ? TRUE : FALSE; }

private:
    friend class CMenuWindowHook;
    explicit CMenuWindow(QMenu* menu) : m_menu(menu) {}

    QPointer<QMenu> m_menu;
    // Hears the menu's destruction while this window lasts; a menu shown again and again is watched once.
    QMetaObject::Connection m_watch;
    QMargins m_oldMargins;
    RECT m_client{0, 0, 0, 0};
    bool m_visible = false;
};

// Follows every pop-up menu window of the application (the layer's and Qt's own, such as an edit box's
// menu), as a window hook with a subclassed menu window procedure would. Derive, override what is needed and
// Install; the handlers carry the messages' meaning:
// - OnCreate: a pop-up is about to show.
// - OnWindowPosChanging: its screen position and size as Qt laid it out; change them to move or resize it.
// - OnNcCalcSize: the client rectangle in window coordinates, (0, 0, cx, cy) on entry; shrinking it leaves a
//   band the menu does not paint its items in (to grow a menu by 4 pixels for a shadow, add 4 to cx and cy in
//   OnWindowPosChanging and take 4 from the client's right and bottom here).
// - OnEraseBkgnd: the window is placed but not yet on the screen, which still shows what lies behind it.
// - OnShowWindow: shown (TRUE) after the above, hidden (FALSE) when it closes; the window's record goes after.
// - OnPrint: after every paint of the menu, a DC drawing over the whole window (window coordinates, clipped to
//   what was repainted); bItemsDrawn when items were among what was repainted. Drawing only, no reading back.
// - OnNcDestroy: the menu was destroyed while shown; the record goes after.
// Hooks are called in the order they were installed.
class CMenuWindowHook {
public:
    virtual ~CMenuWindowHook();

    virtual void OnCreate(CMenuWindow* pWnd);
    virtual void OnWindowPosChanging(CMenuWindow* pWnd, WINDOWPOS* lpwndpos);
    virtual void OnNcCalcSize(CMenuWindow* pWnd, LPRECT lpClientRect);
    virtual void OnEraseBkgnd(CMenuWindow* pWnd);
    virtual void OnShowWindow(CMenuWindow* pWnd, BOOL bShow);
    virtual void OnPrint(CMenuWindow* pWnd, CDC* pDC, BOOL bItemsDrawn);
    virtual void OnNcDestroy(CMenuWindow* pWnd);

    // FALSE when the hook is installed already (or null). Uninstalling the last hook forgets every window and
    // gives the menus shown their own margins back. A hook uninstalls itself when it is destroyed.
    static BOOL Install(CMenuWindowHook* hook);
    static BOOL Uninstall(CMenuWindowHook* hook);

private:
    friend class CMenuWindowFilter;
    static bool HandleEvent(QObject* object, QEvent* event);
    static void Shown(QMenu* menu);
    static void Hidden(QMenu* menu);
    static bool Painted(QMenu* menu, QEvent* event);
    static void Destroyed(QObject* menu);
};
