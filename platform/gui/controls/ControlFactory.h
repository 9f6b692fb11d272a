#pragma once

#include "platform/gui/frame/ResourceTable.h"

#include "platform/os/Types.h"

#include <QPoint>
#include <QString>

class QWidget;

// Builds the Qt widget of a dialog control: the widget that matches its kind and style, placed in the parent's
// client area, carrying the control id and the style word, and reporting the operator's actions to its parent
// window as the platform's controls do (WM_COMMAND with BN_CLICKED, CBN_SELCHANGE or CBN_EDITCHANGE, WM_NOTIFY from a
// list). Changes made by the program itself report nothing, except a list view's item states.
class CControlFactory {
public:
    // Template texts are UTF-8.
    static QWidget* Create(const DlgItemTemplate& item, QWidget* parent);
    static QWidget* Create(DlgItemKind kind, const QString& text, DWORD style, const RECT& rect, QWidget* parent,
                           int id, const char* className = nullptr);

    // Where a child's client coordinates start inside its parent widget.
    static QPoint ClientOrigin(const QWidget* parent);
    // A static's text as Qt shows it: "&&" is an ampersand, a single "&" marks a mnemonic and is not shown.
    static QString StaticText(const QString& text, DWORD style);
};
