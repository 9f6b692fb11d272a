#include "Templates.h"

#include "platform/gui/frame/ResourceTable.h"

extern const DlgTemplate kProgramDialogs[2];
extern const DlgTemplate kBannerDialogs[8];
extern const DlgTemplate kSceneMatrixDialogs[2];
extern const DlgTemplate kConfigDialogs[4];

namespace {

const DlgTemplate* Find(unsigned id) {
    for (const auto& table : {std::make_pair(kProgramDialogs, 2), std::make_pair(kBannerDialogs, 8),
                              std::make_pair(kSceneMatrixDialogs, 2), std::make_pair(kConfigDialogs, 4)})
        for (int i = 0; i < table.second; ++i)
            if (table.first[i].id == id)
                return &table.first[i];
    return nullptr;
}

} // namespace

QRect ControlRect(unsigned dialog, int control) {
    if (const DlgTemplate* found = Find(dialog))
        for (const DlgItemTemplate& item : found->items)
            if (item.id == control)
                return QRect(item.x, item.y, item.cx, item.cy);
    return {};
}

QPoint ControlCentre(unsigned dialog, int control) {
    const QRect r = ControlRect(dialog, control);
    // A combo box's rectangle holds its list; the box itself is the top of it.
    return QPoint(r.left() + r.width() / 2, r.top() + std::min(r.height(), 24) / 2);
}

QSize DialogSize(unsigned dialog) {
    const DlgTemplate* found = Find(dialog);
    return found ? QSize(found->cx, found->cy) : QSize();
}
