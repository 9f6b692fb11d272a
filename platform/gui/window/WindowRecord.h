#pragma once

#include "platform/os/Types.h"

class QWidget;

// What the platform keeps with every window, kept on the widget itself so that a control built by a dialog
// carries it before any CWnd attaches: the control id and the style words. The dynamic state bits (visible,
// disabled) are not stored; CWnd::GetStyle reads them from the widget.
int WidgetCtrlId(const QWidget* widget);
void SetWidgetCtrlId(QWidget* widget, int id);
DWORD WidgetStyle(const QWidget* widget);
void SetWidgetStyle(QWidget* widget, DWORD style);
DWORD WidgetExStyle(const QWidget* widget);
void SetWidgetExStyle(QWidget* widget, DWORD exStyle);

// The child with this control id: a direct child first, then deeper ones that are not windows of their own.
QWidget* FindChildByCtrlId(QWidget* parent, int id);
