#include "PopupMenuWidget.h"

#include "Menu.h"
#include "MenuStyle.h"
#include "platform/gui/base/GbkString.h"
#include "platform/gui/window/Messages.h"
#include "platform/gui/window/Wnd.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QPointer>
#include <QStyleOptionMenuItem>

CPopupMenuWidget::CPopupMenuWidget(QWidget* parent) : QMenu(parent) { setStyle(CMenuStyle::Instance()); }

void CPopupMenuWidget::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
    QMenu::initStyleOption(option, action);
    CMenuStyle::NoteItem(option, action);
}

void CPopupMenuWidget::keyPressEvent(QKeyEvent* event) {
    if (!AskOwner(event))
        QMenu::keyPressEvent(event);
}

bool CPopupMenuWidget::AskOwner(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const QString text = event->text();
    if (text.size() != 1 ||
        !(modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier || modifiers == Qt::AltModifier))
        return false;
    const QChar typed = text.at(0);
    if (!typed.isPrint() || typed.isSpace())
        return false;
    // Qt's own mnemonics come first, with the rule QMenu applies to them.
    const int upper = typed.toUpper().unicode();
    for (QAction* action : actions()) {
        if (!action->isVisible() || action->isSeparator())
            continue;
        const QKeySequence mnemonic = QKeySequence::mnemonic(action->text());
        if (!mnemonic.isEmpty() && (mnemonic[0].toCombined() & 0xFFFF) == upper)
            return false;
    }
    CWnd* owner = CMenuStyle::GetMenuOwner(this);
    if (!owner)
        return false;
    // The character as an ANSI window gets it: one GBK byte, or a double-byte character lead byte first.
    const std::string gbk = QStringToGbk(QString(typed)).value_or(std::string());
    WORD character = 0;
    if (gbk.size() == 1)
        character = static_cast<BYTE>(gbk[0]);
    else if (gbk.size() == 2)
        character = static_cast<WORD>((static_cast<BYTE>(gbk[0]) << 8) | static_cast<BYTE>(gbk[1]));
    else
        return false;
    QPointer<QMenu> self(this);
    const LRESULT result = owner->SendMessage(WM_MENUCHAR, MAKEWPARAM(character, MF_POPUP),
                                              reinterpret_cast<LPARAM>(static_cast<QMenu*>(this)));
    if (!self)
        return true;
    const UINT code = HIWORD(static_cast<uint32_t>(result));
    const int position = LOWORD(static_cast<uint32_t>(result));
    const QList<QAction*> items = actions();
    QAction* target = position < items.size() ? items.at(position) : nullptr;
    const bool usable = target && target->isVisible() && !target->isSeparator() && target->isEnabled();
    switch (code) {
    case MNC_EXECUTE:
        if (usable) {
            // Carried out as Enter on the item: a command is chosen, a pop-up opens.
            setActiveAction(target);
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QMenu::keyPressEvent(&enter);
        }
        return true;
    case MNC_SELECT:
        if (target && target->isVisible() && !target->isSeparator())
            setActiveAction(target);
        return true;
    case MNC_CLOSE: {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QMenu::keyPressEvent(&escape);
        return true;
    }
    default: return false;
    }
}
