#include "WindowRecord.h"

#include <QWidget>

#include <unordered_map>

namespace {

// Beside each widget that has one, read on every message: a widget's own properties are looked up by name among all
// its class's, which costs a thousand times more.
struct Record {
    int ctrlId = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
};

std::unordered_map<const QWidget*, Record>& Records() {
    static auto* records = new std::unordered_map<const QWidget*, Record>; // never freed: widgets may go after statics
    return *records;
}

const Record* Find(const QWidget* widget) {
    const auto it = Records().find(widget);
    return it == Records().end() ? nullptr : &it->second;
}

Record& Make(QWidget* widget) {
    auto [it, made] = Records().try_emplace(widget);
    if (made)
        QObject::connect(widget, &QObject::destroyed, [widget] { Records().erase(widget); });
    return it->second;
}

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
    const Record* record = Find(widget);
    return record ? record->ctrlId : 0;
}

void SetWidgetCtrlId(QWidget* widget, int id) {
    if (widget)
        Make(widget).ctrlId = id;
}

DWORD WidgetStyle(const QWidget* widget) {
    const Record* record = Find(widget);
    return record ? record->style : 0;
}

void SetWidgetStyle(QWidget* widget, DWORD style) {
    if (widget)
        Make(widget).style = style;
}

DWORD WidgetExStyle(const QWidget* widget) {
    const Record* record = Find(widget);
    return record ? record->exStyle : 0;
}

void SetWidgetExStyle(QWidget* widget, DWORD exStyle) {
    if (widget)
        Make(widget).exStyle = exStyle;
}

QWidget* FindChildByCtrlId(QWidget* parent, int id) {
    if (!parent)
        return nullptr;
    if (QWidget* direct = FindIn(parent, id, false))
        return direct;
    return FindIn(parent, id, true);
}
