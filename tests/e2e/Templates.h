#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the program's dialog templates put a control: its rectangle in the dialog's (or page's, or form's)
// client area, as the resource tables compiled into the program hold it. A null rectangle when no template of
// that id holds the control.
QRect ControlRect(unsigned dialog, int control);
QPoint ControlCentre(unsigned dialog, int control);
// The client size the template gives a dialog.
QSize DialogSize(unsigned dialog);

// The templates the tests find controls in.
namespace Dialog {
constexpr unsigned kBanner = 103;
constexpr unsigned kWallSetting = 104;
constexpr unsigned kVideo = 105;
constexpr unsigned kMenu = 106;
constexpr unsigned kCommSetting = 131;
constexpr unsigned kVgaDvi = 132;
constexpr unsigned kOther = 135;
constexpr unsigned kScene = 144;
constexpr unsigned kMatrix = 146;
constexpr unsigned kMatrixSetting = 155;
constexpr unsigned kMonitor = 159;
constexpr unsigned kAdc = 165;
constexpr unsigned kWhiteBalance = 166;
constexpr unsigned kAdvanced = 167;
} // namespace Dialog
