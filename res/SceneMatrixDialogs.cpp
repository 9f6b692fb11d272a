#include "platform/gui/controls/Button.h"
#include "platform/gui/controls/ComboBox.h"
#include "platform/gui/controls/Static.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/window/WindowStyles.h"

// The banner's pages "Scene" and "Matrix". They sit in the property sheet under the wall view, which is short at
// the start-up size: each keeps to a few rows.
namespace {

constexpr DWORD kLabel = WS_VISIBLE | SS_RIGHT | SS_CENTERIMAGE;
constexpr DWORD kList = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kCheck = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;

// The twenty channel buttons: two rows of ten between "<<" and ">>".
constexpr int kChannelX = 60;
constexpr int kChannelStep = 82;
constexpr int kChannelWidth = 76;
constexpr int kChannelY = 74;
constexpr int kChannelRowStep = 32;
constexpr int kChannelHeight = 26;

DlgItemTemplate Channel(int number, int id) {
    static const char* const kLabels[] = {"1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10",
                                          "11", "12", "13", "14", "15", "16", "17", "18", "19", "20"};
    const int index = number - 1;
    return {id,
            DlgItemKind::PushButton,
            kLabels[index],
            kChannelX + (index % 10) * kChannelStep,
            kChannelY + (index / 10) * kChannelRowStep,
            kChannelWidth,
            kChannelHeight,
            kButton};
}

std::vector<DlgItemTemplate> MatrixPageItems() {
    const std::vector<const char*> ports = {"COM1", "COM2",  "COM3",  "COM4",  "COM5",  "COM6",  "COM7",  "COM8",
                                            "COM9", "COM10", "COM11", "COM12", "COM13", "COM14", "COM15", "COM16"};
    std::vector<DlgItemTemplate> items = {
        {-1, DlgItemKind::Static, "Matrix：", 4, 8, 64, 24, kLabel},
        {1086, DlgItemKind::ComboBox, "", 72, 8, 180, 200, kList},
        {-1, DlgItemKind::Static, "word：", 256, 8, 56, 24, kLabel},
        {1105, DlgItemKind::ComboBox, "", 316, 8, 180, 200, kList},
        {-1, DlgItemKind::Static, "Type：", 500, 8, 52, 24, kLabel},
        {1088, DlgItemKind::ComboBox, "", 556, 8, 86, 200, kList | WS_DISABLED, {"AV", "VGA", "DVI", "HDMI"}},
        {-1, DlgItemKind::Static, "Port：", 646, 8, 52, 24, kLabel},
        {1031, DlgItemKind::ComboBox, "", 702, 8, 86, 200, kList | WS_DISABLED, ports},
        {1106, DlgItemKind::CheckBox, "Open Port", 800, 8, 126, 24, kCheck},
        {-1, DlgItemKind::Static, "Format：", 4, 40, 64, 24, kLabel},
        {1091, DlgItemKind::Static, "内容", 72, 40, 570, 24,
         WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX | SS_SUNKEN},
        {1083, DlgItemKind::CheckBox, " Increase ", 702, 40, 140, 24, kCheck},
        {1082, DlgItemKind::PushButton, "<<", 8, kChannelY, 44, kChannelRowStep + kChannelHeight, kButton},
    };
    items.push_back(Channel(1, 1077));
    for (int number = 2; number <= 20; ++number)
        items.push_back(Channel(number, 1154 + number));
    items.push_back({1084, DlgItemKind::PushButton, ">>", kChannelX + 10 * kChannelStep, kChannelY, 44,
                     kChannelRowStep + kChannelHeight, kButton});
    return items;
}

} // namespace

extern const DlgTemplate kSceneMatrixDialogs[2];
const DlgTemplate kSceneMatrixDialogs[2] = {
    {144,
     "Scene",
     566,
     52,
     WS_CHILD,
     {
         {1072, DlgItemKind::ComboBox, "", 10, 14, 220, 260, WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN},
         {1069, DlgItemKind::PushButton, "Save", 244, 12, 72, 28, kButton},
         {1070, DlgItemKind::PushButton, "Load", 324, 12, 72, 28, kButton},
         {1071, DlgItemKind::PushButton, "Rename", 404, 12, 72, 28, kButton},
         {1082, DlgItemKind::PushButton, "Record", 484, 12, 72, 28, kButton},
     }},
    {146, "Matrix", 936, 136, WS_CHILD, MatrixPageItems()},
};
