#include "WindowRecord.h"

#include <QVariant>
#include <QWidget>

namespace {

constexpr const char* kCtrlId = "ctrlId";
constexpr const char* kStyle = "wndStyle";
constexpr const char* kExStyle = "wndExStyle";

QWidget* FindIn(QWidget* parent, int id, bool deep) {
    for (QObject* object : parent->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child && !child->isWindow() && WidgetCtrlId(child) == id)
            return child;
    }
    if (!deep)
        return nullptr;
    for (QObject* object : parent->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child && !child->isWindow())
            if (QWidget* found = FindIn(child, id, true))
                return found;
    }
    return nullptr;
}

} // namespace

int WidgetCtrlId(const QWidget* widget) {
    if (!widget)
        return 0;
    const QVariant v = widget->property(kCtrlId);
    return v.isValid() ? v.toInt() : 0;
}

void SetWidgetCtrlId(QWidget* widget, int id) {
    if (widget)
        widget->setProperty(kCtrlId, id);
}

DWORD WidgetStyle(const QWidget* widget) {
    if (!widget)
        return 0;
    const QVariant v = widget->property(kStyle);
    return v.isValid() ? static_cast<DWORD>(v.toUInt()) : 0;
}

void SetWidgetStyle(QWidget* widget, DWORD style) {
    if (widget)
        widget->setProperty(kStyle, static_cast<uint>(style));
}

DWORD WidgetExStyle(const QWidget* widget) {
    if (!widget)
        return 0;
    const QVariant v = widget->property(kExStyle);
    return v.isValid() ? static_cast<DWORD>(v.toUInt()) : 0;
}

void SetWidgetExStyle(QWidget* widget, DWORD exStyle) {
    if (widget)
        widget->setProperty(kExStyle, static_cast<uint>(exStyle));
}

QWidget* FindChildByCtrlId(QWidget* parent, int id) {
    if (!parent)
        return nullptr;
    if (QWidget* direct = FindIn(parent, id, false))
        return direct;
    return FindIn(parent, id, true);
}
