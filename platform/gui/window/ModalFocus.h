#pragma once

#include <QPointer>
#include <QWidget>

// Gives the keyboard back, when a modal window has closed, to the window that was active when it came up. The
// window manager does that where there is one; without one the focus would fall to the screen, and the keys typed
// next would go nowhere until the operator clicked.
class CModalFocus {
public:
    // The owner stands in when no window of the program is active.
    explicit CModalFocus(QWidget* owner);
    ~CModalFocus();
    CModalFocus(const CModalFocus&) = delete;
    CModalFocus& operator=(const CModalFocus&) = delete;

    // The window that gets the keyboard back; null when there is none.
    QWidget* Previous() const { return m_previous; }

private:
    QPointer<QWidget> m_previous;
};
