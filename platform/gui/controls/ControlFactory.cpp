#include "ControlFactory.h"

#include "Button.h"
#include "ComboBox.h"
#include "Edit.h"
#include "ListCtrl.h"
#include "ListViewWidget.h"
#include "Static.h"
#include "platform/gui/base/GbkString.h"
#include "platform/gui/draw/Icon.h"
#include "platform/gui/window/HostWidget.h"
#include "platform/gui/window/WindowRecord.h"
#include "platform/gui/window/Wnd.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr const char* kRadioGroup = "dialogRadioGroup";
constexpr const char* kManualCheck = "buttonManualCheck";

// Tells the control's parent window, as the platform's controls do: the parent is looked up when the
// notification happens, so a window attached later still hears it.
void NotifyParent(QWidget* control, UINT code) {
    QWidget* parentWidget = control->parentWidget();
    CWnd* parent = parentWidget ? CWnd::FromWidget(parentWidget) : nullptr;
    if (!parent)
        return;
    const int id = WidgetCtrlId(control);
    parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(code)),
                        reinterpret_cast<LPARAM>(CWnd::FromWidget(control)));
}

// Radio buttons form groups from a WS_GROUP control to the next one, as the dialog manager groups them.
QButtonGroup* RadioGroup(QWidget* parent, DWORD style) {
    QPointer<QButtonGroup> group = qobject_cast<QButtonGroup*>(parent->property(kRadioGroup).value<QObject*>());
    if (!group || (style & WS_GROUP)) {
        group = new QButtonGroup(parent);
        group->setExclusive(true);
        parent->setProperty(kRadioGroup, QVariant::fromValue<QObject*>(group.data()));
    }
    return group;
}

Qt::Alignment EditAlignment(DWORD style) {
    if (style & ES_CENTER)
        return Qt::AlignHCenter | Qt::AlignVCenter;
    if (style & ES_RIGHT)
        return Qt::AlignRight | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QWidget* MakeButton(DlgItemKind kind, const QString& text, DWORD style, QWidget* parent) {
    QAbstractButton* button = nullptr;
    switch (kind) {
    case DlgItemKind::CheckBox: button = new QCheckBox(text, parent); break;
    case DlgItemKind::RadioButton: {
        auto* radio = new QRadioButton(text, parent);
        radio->setAutoExclusive(false);
        RadioGroup(parent, style)->addButton(radio);
        button = radio;
        break;
    }
    default: {
        auto* push = new QPushButton((style & (BS_ICON | BS_BITMAP)) ? QString() : text, parent);
        push->setAutoDefault(false);
        push->setDefault((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        button = push;
        break;
    }
    }
    const DWORD type = style & BS_TYPEMASK;
    // Plain check boxes and radio buttons only report the click; the program sets their state.
    button->setProperty(kManualCheck, type == BS_CHECKBOX || type == BS_RADIOBUTTON || type == BS_3STATE);
    QObject::connect(button, &QAbstractButton::clicked, button, [button]() {
        if (button->property(kManualCheck).toBool() && !button->group()) {
            const QSignalBlocker block(button);
            button->setChecked(!button->isChecked());
        }
        NotifyParent(button, BN_CLICKED);
    });
    return button;
}

QWidget* MakeCombo(DWORD style, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    const DWORD type = style & 3;
    if (type == CBS_DROPDOWN || type == CBS_SIMPLE) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
        QLineEdit* edit = combo->lineEdit();
        // Qt selects the entry that matches the typed text when the edit field loses the focus, and reports that
        // as the operator's choice; a text typed is only a text.
        QObject::disconnect(edit, &QLineEdit::editingFinished, combo, nullptr);
        QObject::connect(edit, &QLineEdit::textEdited, combo, [combo]() {
            NotifyParent(combo, CBN_EDITUPDATE);
            NotifyParent(combo, CBN_EDITCHANGE);
        });
    }
    combo->setMaxVisibleItems(12);
    QObject::connect(combo, qOverload<int>(&QComboBox::activated), combo,
                     [combo](int) { NotifyParent(combo, CBN_SELCHANGE); });
    return combo;
}

QWidget* MakeEdit(const QString& text, DWORD style, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setReadOnly((style & ES_READONLY) != 0);
    edit->setAlignment(EditAlignment(style));
    if (style & ES_PASSWORD)
        edit->setEchoMode(QLineEdit::Password);
    edit->setFrame(true);
    return edit;
}

QWidget* MakeStatic(const QString& text, DWORD style, QWidget* parent) {
    const DWORD type = style & SS_TYPEMASK;
    if (type == SS_ICON) {
        // The text names the icon resource; an icon nobody registered leaves the static empty.
        auto* label = new QLabel(parent);
        bool number = false;
        const UINT id = text.toUInt(&number);
        const QImage image = number ? IconImage(LoadIcon(id)) : QImage();
        if (!image.isNull())
            label->setPixmap(QPixmap::fromImage(image));
        return label;
    }
    auto* label = new QLabel(CControlFactory::StaticText(text, style), parent);
    Qt::Alignment align = Qt::AlignTop;
    if (type == SS_CENTER)
        align |= Qt::AlignHCenter;
    else if (type == SS_RIGHT)
        align |= Qt::AlignRight;
    else
        align |= Qt::AlignLeft;
    if (style & SS_CENTERIMAGE)
        align = (align & ~Qt::AlignTop) | Qt::AlignVCenter;
    label->setAlignment(align);
    label->setWordWrap(type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT);
    label->setTextFormat(Qt::PlainText);
    if (style & SS_SUNKEN)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

} // namespace

QPoint CControlFactory::ClientOrigin(const QWidget* parent) {
    if (auto* host = dynamic_cast<const CHostWidget*>(parent))
        return host->ClientOrigin();
    return QPoint(0, 0);
}

QString CControlFactory::StaticText(const QString& text, DWORD style) {
    if (style & SS_NOPREFIX)
        return text;
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        // "&x" shows x (underlined on the platform) and "&&" shows one ampersand.
        if (text.at(i) == QLatin1Char('&')) {
            if (i + 1 < text.size())
                shown += text.at(++i);
            continue;
        }
        shown += text.at(i);
    }
    return shown;
}

QWidget* CControlFactory::Create(const DlgItemTemplate& item, QWidget* parent) {
    QWidget* widget = Create(item.kind, QString::fromUtf8(item.text ? item.text : ""), item.style,
                             RECT{item.x, item.y, item.x + item.cx, item.y + item.cy}, parent, item.id, item.className);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        CComboBox box;
        box.Attach(combo);
        for (const char* entry : item.initData) {
            const std::optional<std::string> gbk = QStringToGbk(QString::fromUtf8(entry ? entry : ""));
            box.AddString(gbk ? gbk->c_str() : "?");
        }
        box.Detach();
    }
    return widget;
}

QWidget* CControlFactory::Create(DlgItemKind kind, const QString& text, DWORD style, const RECT& rect, QWidget* parent,
                                 int id, const char* className) {
    if (!parent)
        return nullptr;
    QWidget* widget = nullptr;
    switch (kind) {
    case DlgItemKind::Static: widget = MakeStatic(text, style, parent); break;
    case DlgItemKind::PushButton:
    case DlgItemKind::CheckBox:
    case DlgItemKind::RadioButton: widget = MakeButton(kind, text, style, parent); break;
    case DlgItemKind::GroupBox: widget = new QGroupBox(text, parent); break;
    case DlgItemKind::Edit: widget = MakeEdit(text, style, parent); break;
    case DlgItemKind::ComboBox: widget = MakeCombo(style, parent); break;
    case DlgItemKind::ListView: widget = new CListViewWidget(parent, style); break;
    case DlgItemKind::TabControl: widget = new QFrame(parent); break;
    case DlgItemKind::Custom: {
        auto* host = new CHostWidget(parent);
        host->SetClassName(className ? className : "");
        widget = host;
        break;
    }
    }
    if (kind != DlgItemKind::RadioButton && (style & WS_GROUP))
        parent->setProperty(kRadioGroup, QVariant());

    // What the platform keeps with a window, before any window object attaches.
    SetWidgetCtrlId(widget, id);
    SetWidgetStyle(widget, (style | WS_CHILD) & ~(WS_VISIBLE | WS_DISABLED));

    // A combo box shows its natural height; the rectangle's height is for its list.
    const QPoint origin = ClientOrigin(parent);
    QRect geometry(origin.x() + rect.left, origin.y() + rect.top, rect.right - rect.left, rect.bottom - rect.top);
    if (kind == DlgItemKind::ComboBox)
        geometry.setHeight(widget->sizeHint().height());
    widget->setGeometry(geometry);
    if (auto* host = dynamic_cast<CHostWidget*>(widget))
        host->Relayout();

    const bool focusable =
        kind != DlgItemKind::Static && kind != DlgItemKind::GroupBox && kind != DlgItemKind::TabControl;
    if (focusable)
        widget->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    else
        widget->setFocusPolicy(Qt::NoFocus);
    widget->setEnabled(!(style & WS_DISABLED));
    widget->setVisible((style & WS_VISIBLE) != 0);
    // Frames drawn behind other controls must not take their clicks.
    if (kind == DlgItemKind::GroupBox || kind == DlgItemKind::TabControl)
        widget->lower();
    return widget;
}
