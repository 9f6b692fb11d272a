#pragma once

#include <QPoint>

class QWidget;

// Moves the pointer to a point of the widget, as a user's hand would, and waits until the window system has
// delivered the move to the program: a real X server reports it a little after the pointer moved, the offscreen
// platform at once. False when no move arrived in time (the pointer was already there, or the widget is not on
// the screen).
bool MovePointer(QWidget* widget, QPoint pos, int timeoutMs = 5000);
