#pragma once

#include "tests/support/Bytes.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WallOnPty.h"

#include "platform/os/Pause.h"
#include "platform/os/Rect.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

class LcdGridCtrl;

inline void PrintTo(const CRect& r, std::ostream* os) {
    *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

// Command codes of the sample command definitions the fixture works with.
enum : int {
    kCodeVga = 18,
    kCodeHdmi = 19,
    kCodeUnitShow = 22,
    kCodePowerOn = 1,
    kCodePipOpen = 176,
    kCodePipMove = 177,
    kCodePipClose = 178,
    kCodePipSourceVga = 181,
};

// A settings file for a wall of rows x columns units on COM5 at 1920 x 1080 a unit, the PIP component as given; the
// monitor remote on COM5 too, the frame effect off.
std::string SettingsFile(int rows, int cols, const char* pipEnable = "true");
// Two matrices on the wall port: "M1" (signal VGA, grown HDMI, 45 channels) and "Quiet" (no signal command), each
// with the message "SW" = A5, input, output, XOR of the three.
std::string MatrixFile();

// A working folder with the sample command definitions, the settings file and the matrices above, the wall port
// on a pseudo-terminal, message boxes recorded and pauses recorded instead of waited; and the wall view, built as
// the main view builds it and shown as a window whose client area is 303 x 202 (2 x 3 cells of 101 pixels).
class WallFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the files and builds the wall view (the wall model reads the files then).
    void BuildWall(int rows = 2, int cols = 3, const char* pipEnable = "true");
    // Opens the wall port on the pseudo-terminal.
    void OpenPort();
    void Select(int minRow, int minCol, int maxRow, int maxCol);
    std::vector<unsigned char> Sent() { return wall.pty.ReadAvailable(); }
    // A cell's text.
    std::string Label(int row, int col) const;
    // A six-byte command frame: D5, area, code, value, AA.
    static std::vector<unsigned char> ShortFrame(int first, int second, int code, int value);
    // A PIP frame for the 2 x 3 wall: D5 11 32, the code, 00 AB, the four 16-bit values high byte first, AA.
    static std::vector<unsigned char> PipFrame(int code, int x, int y, int w, int h);
    // Processes what the windows posted.
    static void Settle();

    WallOnPty wall;
    MessageBoxRecorder boxes{IDOK};
    std::vector<DWORD> pauses;
    LcdGridCtrl* view = nullptr;

private:
    std::unique_ptr<LcdGridCtrl> m_view;
    PauseHandler m_previousPause;
};
