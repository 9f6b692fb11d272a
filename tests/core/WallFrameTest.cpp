#include "core/CommPort.h"
#include "core/CommandMap.h"
#include "tests/support/PortLink.h"
#include "tests/support/Pty.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<unsigned char>;

// Frames are checked as they arrive at the far end of a serial line.
class WallFrameOnTheWire : public ::testing::Test {
protected:
    void SetUp() override {
        link.Link("COM1", pty.SlavePath());
        ASSERT_TRUE(port.Open("\\\\.\\COM1", 9600, 8, 0, 0));
        map.Add("M-MENU", 0x21, FALSE, 0);
        map.Add("AD_TEMP_SET_30", 0x46, TRUE, 30);
        map.Add("P-OPEN-WINDOW", 0x50, TRUE, 7);
    }

    Bytes Send(const FrameBuffer& frame) {
        DWORD written = 0;
        EXPECT_TRUE(port.Write(frame.bytes, static_cast<DWORD>(frame.Length()), &written));
        return pty.Read(static_cast<size_t>(frame.Length()));
    }

    Pty pty;
    PortLink link;
    CCommPort port;
    CCommandMap map;
};

} // namespace

TEST_F(WallFrameOnTheWire, ShortFramesCarryTheAreaAsTwoNibblePairs) {
    EXPECT_EQ(Send(map.BuildShortFrame("M-MENU", 1, 2, 3, 4, 0)), (Bytes{0xD5, 0x12, 0x34, 0x21, 0x00, 0xAA}));
    EXPECT_EQ(Send(map.BuildShortFrame("M-MENU", 0, 0, 255, 255, 0)), (Bytes{0xD5, 0x00, 0xFF, 0x21, 0x00, 0xAA}));
    EXPECT_EQ(Send(map.BuildShortFrame("M-MENU", 0, 0, 0, 0, 0)), (Bytes{0xD5, 0x00, 0x00, 0x21, 0x00, 0xAA}));
}

TEST_F(WallFrameOnTheWire, ByteFourIsTheParamWhenThereIsOneElseTheValue) {
    EXPECT_EQ(Send(map.BuildShortFrame("AD_TEMP_SET_30", 1, 1, 1, 1, 99)), (Bytes{0xD5, 0x11, 0x11, 0x46, 30, 0xAA}));
    EXPECT_EQ(Send(map.BuildShortFrame("M-MENU", 1, 1, 1, 1, 0x1FF)), (Bytes{0xD5, 0x11, 0x11, 0x21, 0xFF, 0xAA}));
}

TEST_F(WallFrameOnTheWire, AnUnknownNameGoesOutWithCodeZero) {
    EXPECT_EQ(Send(map.BuildShortFrame("NO-SUCH-COMMAND", 1, 1, 2, 2, 5)), (Bytes{0xD5, 0x11, 0x22, 0x00, 5, 0xAA}));
}

TEST_F(WallFrameOnTheWire, WindowFramesCarryTheRectangleBigEndian) {
    FrameBuffer frame;
    map.BuildWindowFrame(frame, "P-OPEN-WINDOW", CRect(100, 50, 400, 250), CRect(1, 1, 4, 3), 2);
    EXPECT_EQ(frame.Length(), 15);
    // The window value goes into byte 4 even though the definition has a param.
    EXPECT_EQ(Send(frame),
              (Bytes{0xD5, 0x11, 0x43, 0x50, 0x02, 0xAB, 0x00, 0x64, 0x00, 0x32, 0x01, 0x2C, 0x00, 0xC8, 0xAA}));
}

TEST(WallFrame, MembersAboveFifteenSpillIntoTheOtherNibble) {
    EXPECT_EQ(AreaFirstByte(CRect(16, 1, 0, 0)), 0x01); // 16 * 16 is cut to 0
    EXPECT_EQ(AreaLastByte(CRect(0, 0, 1, 16)), 0x10);  // 16 sets the low bit of the high nibble
    EXPECT_EQ(AreaLastByte(CRect(0, 0, 16, 16)), 0x10);
}

TEST(WallFrame, WindowValuesAreTheLowSixteenBits) {
    FrameBuffer frame;
    WindowFrame(frame, CRect(0, 0, 0, 0), 1, 0, CRect(-1, 0x12345, 0x10000, 0x12345 + 0x300));
    EXPECT_EQ(frame.bytes[6], 0xFF);
    EXPECT_EQ(frame.bytes[7], 0xFF);
    EXPECT_EQ(frame.bytes[8], 0x23);
    EXPECT_EQ(frame.bytes[9], 0x45);
    EXPECT_EQ(frame.bytes[10], 0x00); // 0x10000 - (-1) = 0x10001
    EXPECT_EQ(frame.bytes[11], 0x01);
    EXPECT_EQ(frame.bytes[12], 0x03);
    EXPECT_EQ(frame.bytes[13], 0x00);
}

TEST(WallFrame, TheLengthFollowsByteFive) {
    CCommandMap map;
    FrameBuffer shortFrame = map.BuildShortFrame("X", 0, 0, 0, 0, 0);
    EXPECT_EQ(shortFrame.Length(), 6);
    for (int i = 6; i < FrameBuffer::kSize; ++i)
        EXPECT_EQ(shortFrame.bytes[i], 0) << i;
    FrameBuffer window;
    map.BuildWindowFrame(window, "X", CRect(), CRect(), 0);
    EXPECT_EQ(window.Length(), 15);
}
