#include "platform/gui/controls/Button.h"
#include "platform/gui/controls/ComboBox.h"
#include "platform/gui/controls/Edit.h"
#include "platform/gui/controls/Static.h"
#include "platform/gui/dialogs/Dialog.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/window/WindowStyles.h"

// The banner's form, its control pages VIDEO, VGA/DVI, MENU and Other, and the dialogs beside them (ADC,
// white balance, advanced control). The banner must fit under the wall view at the program's start-up size: its
// pane is about 1010 x 210 there under a window manager, so the pages are 980 x 136 and the sheet with its tabs stands below the button
// row.
namespace {

constexpr DWORD kPage = WS_CHILD;
constexpr DWORD kPopup = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kPicture = kButton | BS_ICON;
constexpr DWORD kCheck = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kList = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kEdit = WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD kCentred = WS_VISIBLE | SS_CENTER;
constexpr DWORD kLeft = WS_VISIBLE | SS_LEFT;

constexpr int kPageWidth = 980;
constexpr int kPageHeight = 136;

const std::vector<const char*> kSources = {"DP", "HDMI2", "VGA", "HDMI", "DVI"};

} // namespace

extern const DlgTemplate kBannerDialogs[8];
const DlgTemplate kBannerDialogs[8] = {
    // The banner: the wall port, power and source buttons in a row, and the place of the property sheet.
    {103,
     "",
     1000,
     204,
     WS_CHILD,
     {
         {1003, DlgItemKind::PushButton, "Open", 6, 6, 86, 26, kButton},
         {1004, DlgItemKind::PushButton, "Close", 98, 6, 86, 26, kButton},
         {1006, DlgItemKind::PushButton, "Power On", 206, 6, 86, 26, kButton},
         {1005, DlgItemKind::PushButton, "Power Off", 298, 6, 86, 26, kButton},
         {1009, DlgItemKind::PushButton, "DP", 406, 6, 86, 26, kButton},
         {1011, DlgItemKind::PushButton, "HDMI2", 498, 6, 86, 26, kButton},
         {1013, DlgItemKind::PushButton, "VGA", 590, 6, 86, 26, kButton},
         {1037, DlgItemKind::PushButton, "HDMI", 682, 6, 86, 26, kButton},
         {1038, DlgItemKind::PushButton, "DVI", 774, 6, 86, 26, kButton},
         {1039, DlgItemKind::PushButton, "Unit", 866, 6, 86, 26, kButton},
         {1051, DlgItemKind::TabControl, "", 6, 36, 988, 166, WS_VISIBLE},
     }},
    // VIDEO: five settings, each a "down" and an "up" picture button above its name.
    {105,
     "VIDEO",
     kPageWidth,
     kPageHeight,
     kPage,
     {
         {1034, DlgItemKind::PushButton, "", 46, 38, 44, 32, kPicture},
         {1035, DlgItemKind::PushButton, "", 102, 38, 44, 32, kPicture},
         {-1, DlgItemKind::Static, "Brightness", 24, 80, 144, 20, kCentred},
         {1046, DlgItemKind::PushButton, "", 236, 38, 44, 32, kPicture},
         {1039, DlgItemKind::PushButton, "", 292, 38, 44, 32, kPicture},
         {-1, DlgItemKind::Static, "Contrast", 214, 80, 144, 20, kCentred},
         {1047, DlgItemKind::PushButton, "", 426, 38, 44, 32, kPicture},
         {1049, DlgItemKind::PushButton, "", 482, 38, 44, 32, kPicture},
         {-1, DlgItemKind::Static, "Saturation", 404, 80, 144, 20, kCentred},
         {1048, DlgItemKind::PushButton, "", 616, 38, 44, 32, kPicture},
         {1050, DlgItemKind::PushButton, "", 672, 38, 44, 32, kPicture},
         {-1, DlgItemKind::Static, "Sharpness", 594, 80, 144, 20, kCentred},
         {1051, DlgItemKind::PushButton, "", 806, 38, 44, 32, kPicture},
         {1052, DlgItemKind::PushButton, "", 862, 38, 44, 32, kPicture},
         {-1, DlgItemKind::Static, "Noise Reduction", 784, 80, 144, 20, kCentred},
     }},
    // VGA/DVI: the same pairs for the computer inputs, then the automatic adjustment and the two dialogs.
    {132,
     "VGA/DVI",
     kPageWidth,
     kPageHeight,
     kPage,
     {
         {1034, DlgItemKind::PushButton, "", 38, 38, 44, 32, kPicture},
         {1035, DlgItemKind::PushButton, "", 94, 38, 44, 32, kPicture},
         {-1, DlgItemKind::Static, "Brightness", 16, 80, 144, 20, kCentred},
         {1046, DlgItemKind::PushButton, "", 198, 38, 44, 32, kPicture},
         {1039, DlgItemKind::PushButton, "", 254, 38, 44, 32, kPicture},
         {-1, DlgItemKind::Static, "Contrast", 176, 80, 144, 20, kCentred},
         {1053, DlgItemKind::PushButton, "", 358, 38, 44, 32, kPicture},
         {1054, DlgItemKind::PushButton, "", 414, 38, 44, 32, kPicture},
         {-1, DlgItemKind::Static, "H-position", 336, 80, 144, 20, kCentred},
         {1055, DlgItemKind::PushButton, "", 518, 38, 44, 32, kPicture},
         {1056, DlgItemKind::PushButton, "", 574, 38, 44, 32, kPicture},
         {-1, DlgItemKind::Static, "V-position", 496, 80, 144, 20, kCentred},
         {1057, DlgItemKind::PushButton, "", 678, 38, 44, 32, kPicture},
         {1058, DlgItemKind::PushButton, "", 734, 38, 44, 32, kPicture},
         {-1, DlgItemKind::Static, "Clock", 656, 80, 144, 20, kCentred},
         {1044, DlgItemKind::PushButton, "Auto", 846, 14, 116, 30, kButton},
         {1082, DlgItemKind::PushButton, "ADC", 846, 56, 116, 30, kButton},
         {1087, DlgItemKind::PushButton, "Color Tem", 846, 98, 116, 30, kButton},
     }},
    // MENU: the on-screen menu's keys, picture rotation, main and sub source, and the serial-number commands.
    {106,
     "MENU",
     kPageWidth,
     kPageHeight,
     kPage,
     {
         {1037, DlgItemKind::PushButton, "MENU/EXIT", 16, 56, 106, 30, kButton},
         {1038, DlgItemKind::PushButton, "", 184, 16, 44, 32, kPicture},
         {1042, DlgItemKind::PushButton, "", 184, 96, 44, 32, kPicture},
         {1040, DlgItemKind::PushButton, "", 138, 56, 44, 32, kPicture},
         {1041, DlgItemKind::PushButton, "", 230, 56, 44, 32, kPicture},
         {-1, DlgItemKind::Static, "DEGREE", 316, 18, 300, 20, kLeft},
         {1043, DlgItemKind::PushButton, "STANDARD", 316, 40, 100, 30, kButton},
         {1045, DlgItemKind::PushButton, "90", 424, 40, 60, 30, kButton},
         {1046, DlgItemKind::PushButton, "180", 492, 40, 60, 30, kButton},
         {1044, DlgItemKind::PushButton, "270", 560, 40, 60, 30, kButton},
         {-1, DlgItemKind::Static, "SET", 316, 82, 300, 20, kLeft},
         {1047, DlgItemKind::PushButton, "MAIN SOURCE", 316, 104, 136, 30, kButton},
         {1048, DlgItemKind::PushButton, "SUB SOURCE", 460, 104, 136, 30, kButton},
         {1013, DlgItemKind::PushButton, "GET SRAND", 846, 16, 116, 30, kButton},
         {1012, DlgItemKind::PushButton, "DO Srand", 846, 60, 116, 30, kButton},
         {-1, DlgItemKind::Static, "SRAND", 660, 66, 56, 20, kLeft},
         {1148, DlgItemKind::Edit, "", 720, 62, 106, 26, kEdit},
         {-1, DlgItemKind::Static, "ADDR", 660, 104, 56, 20, kLeft},
         {1149, DlgItemKind::Edit, "", 720, 100, 106, 26, kEdit},
     }},
    // Other: the frame effect, the factory and fan commands, the picture mode and the four sub-pictures' sources.
    {135,
     "Other",
     kPageWidth,
     kPageHeight,
     kPage,
     {
         {1061, DlgItemKind::PushButton, "", 16, 14, 44, 32, kPicture},
         {1060, DlgItemKind::PushButton, "", 66, 14, 44, 32, kPicture},
         {1068, DlgItemKind::Static, "value", 120, 22, 50, 20, kLeft},
         {-1, DlgItemKind::Static, "Framework H-ADJ", 16, 50, 160, 20, kLeft},
         {1063, DlgItemKind::PushButton, "", 16, 76, 44, 32, kPicture},
         {1062, DlgItemKind::PushButton, "", 66, 76, 44, 32, kPicture},
         {1069, DlgItemKind::Static, "value", 120, 84, 50, 20, kLeft},
         {-1, DlgItemKind::Static, "Framework V-ADJ", 16, 110, 160, 20, kLeft},
         {1064, DlgItemKind::CheckBox, "Use Framework", 196, 18, 150, 24, kCheck},
         {1065, DlgItemKind::PushButton, "Factory", 196, 60, 106, 30, kButton},
         {1082, DlgItemKind::PushButton, "Reset", 196, 102, 106, 30, kButton},
         {-1, DlgItemKind::Static, "Fan", 356, 40, 100, 20, kLeft},
         {1066, DlgItemKind::PushButton, "Open", 356, 60, 100, 30, kButton},
         {1067, DlgItemKind::PushButton, "Close", 356, 102, 100, 30, kButton},
         {1071, DlgItemKind::PushButton, "Multiview", 474, 60, 106, 30, kButton},
         {1072, DlgItemKind::PushButton, "Unit", 474, 102, 106, 30, kButton},
         {-1, DlgItemKind::Static, "P1-SOURCE", 596, 40, 90, 20, kLeft},
         {1151, DlgItemKind::ComboBox, "", 596, 64, 86, 160, kList, kSources},
         {-1, DlgItemKind::Static, "P2-SOURCE", 690, 40, 90, 20, kLeft},
         {1152, DlgItemKind::ComboBox, "", 690, 64, 86, 160, kList, kSources},
         {-1, DlgItemKind::Static, "P3-SOURCE", 784, 40, 90, 20, kLeft},
         {1153, DlgItemKind::ComboBox, "", 784, 64, 86, 160, kList, kSources},
         {-1, DlgItemKind::Static, "P4-SOURCE", 878, 40, 90, 20, kLeft},
         {1154, DlgItemKind::ComboBox, "", 878, 64, 86, 160, kList, kSources},
     }},
    // ADC offsets and gains, a "less" and a "more" button a row; no OK or Cancel: each press sends at once.
    {165,
     "ADC ADJUST",
     276,
     222,
     kPopup,
     {
         {1082, DlgItemKind::PushButton, "OFFSET  R-", 16, 14, 116, 28, kButton},
         {1087, DlgItemKind::PushButton, "OFFSET R+", 144, 14, 116, 28, kButton},
         {1135, DlgItemKind::PushButton, "OFFSET G-", 16, 48, 116, 28, kButton},
         {1136, DlgItemKind::PushButton, "OFFSET G+", 144, 48, 116, 28, kButton},
         {1137, DlgItemKind::PushButton, "OFFSET B-", 16, 82, 116, 28, kButton},
         {1138, DlgItemKind::PushButton, "OFFSET B+", 144, 82, 116, 28, kButton},
         {1139, DlgItemKind::PushButton, "GAIN R-", 16, 116, 116, 28, kButton},
         {1140, DlgItemKind::PushButton, "GAIN R+", 144, 116, 116, 28, kButton},
         {1141, DlgItemKind::PushButton, "GAIN G-", 16, 150, 116, 28, kButton},
         {1142, DlgItemKind::PushButton, "GAIN G+", 144, 150, 116, 28, kButton},
         {1143, DlgItemKind::PushButton, "GAIN B-", 16, 184, 116, 28, kButton},
         {1144, DlgItemKind::PushButton, "GAIN B+", 144, 184, 116, 28, kButton},
     }},
    {166,
     " White Balance",
     276,
     222,
     kPopup,
     {
         {1082, DlgItemKind::PushButton, "OFFSET R -", 16, 14, 116, 28, kButton},
         {1087, DlgItemKind::PushButton, "OFFSET R +", 144, 14, 116, 28, kButton},
         {1125, DlgItemKind::PushButton, "OFFSET G -", 16, 48, 116, 28, kButton},
         {1126, DlgItemKind::PushButton, "OFFSET G+", 144, 48, 116, 28, kButton},
         {1127, DlgItemKind::PushButton, "OFFSET B-", 16, 82, 116, 28, kButton},
         {1128, DlgItemKind::PushButton, "OFFSET B+", 144, 82, 116, 28, kButton},
         {1129, DlgItemKind::PushButton, "GAIN R -", 16, 116, 116, 28, kButton},
         {1130, DlgItemKind::PushButton, "GAIN R+", 144, 116, 116, 28, kButton},
         {1131, DlgItemKind::PushButton, "GAIN G -", 16, 150, 116, 28, kButton},
         {1132, DlgItemKind::PushButton, "GAIN G +", 144, 150, 116, 28, kButton},
         {1133, DlgItemKind::PushButton, "GAIN B -", 16, 184, 116, 28, kButton},
         {1134, DlgItemKind::PushButton, "GAIN B +", 144, 184, 116, 28, kButton},
     }},
    // Advanced control: light and temperature control on and off, and the temperature's set point.
    {167,
     "高级控制",
     276,
     140,
     kPopup,
     {
         {-1, DlgItemKind::Static, "光控：", 16, 20, 64, 20, kLeft},
         {1082, DlgItemKind::PushButton, "打开", 88, 14, 80, 28, kButton},
         {1087, DlgItemKind::PushButton, "关闭", 180, 14, 80, 28, kButton},
         {-1, DlgItemKind::Static, "温控：", 16, 58, 64, 20, kLeft},
         {1145, DlgItemKind::PushButton, "打开", 88, 52, 80, 28, kButton},
         {1146, DlgItemKind::PushButton, "关闭", 180, 52, 80, 28, kButton},
         {1105, DlgItemKind::ComboBox, "", 88, 96, 80, 180, kList, {"20", "25", "30", "35", "40", "45", "50"}},
         {1147, DlgItemKind::PushButton, "设定", 180, 94, 80, 28, kButton},
     }},
};
