#include "platform/gui/controls/Button.h"
#include "platform/gui/controls/ComboBox.h"
#include "platform/gui/controls/Edit.h"
#include "platform/gui/controls/ListCtrl.h"
#include "platform/gui/controls/Static.h"
#include "platform/gui/dialogs/Dialog.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/window/WindowStyles.h"

#include <vector>

// The dialogs of the Config menu: the wall layout, the wall's serial port, the matrices, and the monitor remote.
namespace {

constexpr DWORD kPopup = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kLabel = WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE;
constexpr DWORD kRightLabel = WS_VISIBLE | SS_RIGHT | SS_CENTERIMAGE;
constexpr DWORD kList = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kGroup = WS_VISIBLE | BS_GROUPBOX;

const std::vector<const char*> kBaudRates = {"2400",  "4800",   "9600",   "19200",  "38400",
                                             "57600", "115200", "230400", "460800", "921600"};
const std::vector<const char*> kDataBits = {"5", "6", "7", "8"};
const std::vector<const char*> kStopBits = {"1", "1.5", "2"};
// In parity index order: none, odd, even, mark, space.
const std::vector<const char*> kParities = {"No Parity", "Odd check", "Parity check", "SIGN", "NONE"};

} // namespace

extern const DlgTemplate kConfigDialogs[4];
const DlgTemplate kConfigDialogs[4] = {
    {104,
     "",
     560,
     500,
     kPopup,
     {
         {-1, DlgItemKind::GroupBox, "LCD WALL SETTING", 10, 6, 540, 134, kGroup},
         {-1, DlgItemKind::Static, "User Name：", 24, 30, 110, 24, kLabel},
         {1029, DlgItemKind::Edit, "", 140, 30, 220, 24, WS_VISIBLE | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL},
         {-1, DlgItemKind::Static, "Splicing mode：", 24, 66, 110, 24, kLabel},
         {1030, DlgItemKind::ComboBox, "", 140, 66, 64, 240, kList},
         {-1, DlgItemKind::Static, "Row X", 210, 66, 50, 24, kLabel},
         {1031, DlgItemKind::ComboBox, "", 264, 66, 64, 240, kList},
         {-1, DlgItemKind::Static, "Line", 334, 66, 40, 24, kLabel},
         {IDOK, DlgItemKind::PushButton, "Set", 440, 64, 90, 28, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
         {-1, DlgItemKind::Static, "Resolution：", 24, 102, 110, 24, kLabel},
         {1105,
          DlgItemKind::ComboBox,
          "",
          140,
          102,
          188,
          240,
          kList,
          {"1024X768", "1280X720", "1366X768", "1440X900", "1280X1024", "1600X1200", "1920X1080", "1920X1200"}},
         {1087, DlgItemKind::PushButton, "Set", 440, 100, 90, 28, kButton},
         {-1, DlgItemKind::GroupBox, "Output Map", 10, 148, 540, 342, kGroup},
         {1099, DlgItemKind::Custom, "", 22, 172, 516, 266, WS_VISIBLE | WS_TABSTOP, {}, "GridCtrlWnd"},
         {1107, DlgItemKind::PushButton, "Save Map", 342, 450, 90, 28, kButton},
         {1083, DlgItemKind::PushButton, "Close", 440, 450, 90, 28, kButton},
     }},
    {131,
     "Serial port config",
     300,
     252,
     kPopup,
     {
         {-1, DlgItemKind::Static, "Port", 24, 20, 90, 24, kLabel},
         {1028, DlgItemKind::ComboBox, "", 120, 20, 156, 240, kList, {"COM1",  "COM2",  "COM3",  "COM4",  "COM5",
                                                                      "COM6",  "COM7",  "COM8",  "COM9",  "COM10",
                                                                      "COM11", "COM12", "COM13", "COM14", "COM15",
                                                                      "COM16", "COM17", "COM18", "COM19", "COM20",
                                                                      "COM21", "COM22", "COM23", "COM24", "COM25",
                                                                      "COM26", "COM27", "COM28", "COM29", "COM30",
                                                                      "COM31", "COM32"}},
         {-1, DlgItemKind::Static, "Baudrate", 24, 56, 90, 24, kLabel},
         {1024, DlgItemKind::ComboBox, "", 120, 56, 156, 240, kList, kBaudRates},
         {-1, DlgItemKind::Static, "Data Bit", 24, 92, 90, 24, kLabel},
         {1025, DlgItemKind::ComboBox, "", 120, 92, 156, 120, kList, kDataBits},
         {-1, DlgItemKind::Static, "Check Bit", 24, 128, 90, 24, kLabel},
         {1026, DlgItemKind::ComboBox, "", 120, 128, 156, 140, kList, kParities},
         {-1, DlgItemKind::Static, "Stop Bit", 24, 164, 90, 24, kLabel},
         {1027, DlgItemKind::ComboBox, "", 120, 164, 156, 100, kList, kStopBits},
         {IDOK, DlgItemKind::PushButton, "OK", 60, 208, 84, 28, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
         {IDCANCEL, DlgItemKind::PushButton, "Cancel", 156, 208, 84, 28, kButton},
     }},
    {155,
     "Matrix Setting",
     750,
     470,
     kPopup,
     {
         {1101, DlgItemKind::ListView, "", 10, 10, 464, 196,
          WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER},
         {1102, DlgItemKind::Custom, "", 486, 10, 254, 450, WS_VISIBLE | WS_TABSTOP, {}, "GridCtrlWnd"},
         {-1, DlgItemKind::Static, "Matrix Name：", 10, 220, 104, 24, kLabel},
         {1103, DlgItemKind::Edit, "", 116, 220, 120, 24, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL},
         {-1, DlgItemKind::Static, "Matrix type：", 246, 220, 96, 24, kLabel},
         {1075, DlgItemKind::ComboBox, "", 344, 220, 90, 140, kList, {"AV", "VGA", "DVI", "HDMI"}},
         {-1, DlgItemKind::Static, "CH Num：", 10, 254, 104, 24, kLabel},
         {1029, DlgItemKind::Edit, "", 116, 254, 120, 24, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL},
         {1104, DlgItemKind::CheckBox, "Use Independent Serial Port", 10, 290, 300, 24,
          WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX},
         {-1, DlgItemKind::Static, "Port：", 10, 324, 80, 24, kLabel},
         {1031,
          DlgItemKind::ComboBox,
          "",
          92,
          324,
          110,
          240,
          kList | WS_DISABLED,
          {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9", "COM10", "COM11", "COM12", "COM13",
           "COM14", "COM15", "COM16"}},
         {-1, DlgItemKind::Static, "Baudrate：", 222, 324, 90, 24, kLabel},
         {1032, DlgItemKind::ComboBox, "", 314, 324, 120, 240, kList | WS_DISABLED, kBaudRates},
         {-1, DlgItemKind::Static, "Data Bit：", 10, 358, 80, 24, kLabel},
         {1033, DlgItemKind::ComboBox, "", 92, 358, 110, 120, kList | WS_DISABLED, kDataBits},
         {-1, DlgItemKind::Static, "Stop Bit：", 222, 358, 90, 24, kLabel},
         {1034, DlgItemKind::ComboBox, "", 314, 358, 120, 100, kList | WS_DISABLED, kStopBits},
         {-1, DlgItemKind::Static, "Check：", 10, 392, 80, 24, kLabel},
         {1035, DlgItemKind::ComboBox, "", 92, 392, 110, 140, kList | WS_DISABLED, kParities},
         {1082, DlgItemKind::PushButton, "Set", 286, 432, 90, 28, kButton},
         {1083, DlgItemKind::PushButton, "Close", 384, 432, 90, 28, kButton},
     }},
    {159,
     "监视器控制器",
     600,
     420,
     kPopup,
     {
         {1124, DlgItemKind::Static, "监视器控制器", 60, 4, 480, 56, WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE},
         {-1, DlgItemKind::Static, "监视器地址：", 20, 80, 96, 24, kLabel},
         {1085, DlgItemKind::RadioButton, "单一", 120, 80, 64, 24,
          WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON},
         {1105, DlgItemKind::ComboBox, "", 186, 80, 76, 240, kList},
         {1087, DlgItemKind::RadioButton, "范围", 290, 80, 64, 24, WS_VISIBLE | BS_AUTORADIOBUTTON},
         {1031, DlgItemKind::ComboBox, "", 356, 80, 76, 240, kList},
         {-1, DlgItemKind::Static, "到", 436, 80, 24, 24, WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE},
         {1032, DlgItemKind::ComboBox, "", 462, 80, 76, 240, kList},
         {-1, DlgItemKind::Static, "选择串口：", 20, 118, 96, 24, kLabel},
         {-1, DlgItemKind::Static, "端口：", 116, 118, 64, 24, kRightLabel},
         {1075, DlgItemKind::ComboBox, "", 186, 118, 100, 240, kList},
         {-1, DlgItemKind::Static, "波特率：", 290, 118, 64, 24, kRightLabel},
         {1088, DlgItemKind::ComboBox, "", 356, 118, 110, 240, kList, kBaudRates},
         {-1, DlgItemKind::Static, "停止位：", 116, 152, 64, 24, kRightLabel},
         {1076, DlgItemKind::ComboBox, "", 186, 152, 100, 100, kList, kStopBits},
         {-1, DlgItemKind::Static, "数据位：", 116, 186, 64, 24, kRightLabel},
         {1023, DlgItemKind::ComboBox, "", 186, 186, 100, 120, kList, kDataBits},
         {-1, DlgItemKind::Static, "检验位：", 290, 152, 64, 24, kRightLabel},
         {1090, DlgItemKind::ComboBox, "", 356, 152, 110, 140, kList, {"无奇偶校验", "奇校验", "偶校验", "标记", "空"}},
         {1082, DlgItemKind::PushButton, "打开串口", 480, 116, 100, 30, kButton},
         {1083, DlgItemKind::PushButton, "关闭串口", 480, 152, 100, 30, kButton},
         {1108, DlgItemKind::PushButton, "电源开", 20, 236, 96, 34, kButton},
         {1109, DlgItemKind::PushButton, "电源关", 126, 236, 96, 34, kButton},
         {1110, DlgItemKind::PushButton, "视频1", 232, 236, 96, 34, kButton},
         {1111, DlgItemKind::PushButton, "视频2", 338, 236, 96, 34, kButton},
         {1112, DlgItemKind::PushButton, "VGA", 20, 280, 96, 34, kButton},
         {1113, DlgItemKind::PushButton, "DVI", 126, 280, 96, 34, kButton},
         {1114, DlgItemKind::PushButton, "HDMI", 232, 280, 96, 34, kButton},
         {1116, DlgItemKind::PushButton, "", 500, 226, 40, 34, kButton | BS_ICON},
         {1115, DlgItemKind::PushButton, "", 456, 266, 40, 34, kButton | BS_ICON},
         {1119, DlgItemKind::PushButton, "", 500, 266, 40, 34, kButton | BS_ICON},
         {1118, DlgItemKind::PushButton, "", 544, 266, 40, 34, kButton | BS_ICON},
         {1117, DlgItemKind::PushButton, "", 500, 306, 40, 34, kButton | BS_ICON},
         {1120, DlgItemKind::PushButton, "静音", 338, 280, 96, 34, kButton},
         {1121, DlgItemKind::PushButton, "图像静止", 20, 324, 96, 34, kButton},
         {1122, DlgItemKind::PushButton, "图像模式", 126, 324, 96, 34, kButton},
         {1123, DlgItemKind::PushButton, "图像比例", 232, 324, 96, 34, kButton},
         {IDOK, DlgItemKind::PushButton, "退出", 480, 372, 100, 34, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
     }},
};
