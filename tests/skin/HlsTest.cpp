#include "skin/Hls.h"

#include <gtest/gtest.h>

namespace {

DWORD Packed(BYTE hue, BYTE luminance, BYTE saturation) {
    return static_cast<DWORD>(hue) | static_cast<DWORD>(luminance) << 8 | static_cast<DWORD>(saturation) << 16;
}

// Expected values come from a separate single-precision model of the conversions.
TEST(HlsTest, GreysHaveNoHueOrSaturationAndComeBackAsTheLuminanceByte) {
    EXPECT_EQ(Packed(0, 128, 0), RGBToHLS(RGB(128, 128, 128)));
    EXPECT_EQ(Packed(0, 255, 0), RGBToHLS(RGB(255, 255, 255)));
    EXPECT_EQ(Packed(0, 0, 0), RGBToHLS(RGB(0, 0, 0)));
    // Saturation 0 ignores the hue byte.
    EXPECT_EQ(RGB(77, 77, 77), HLSToRGB(Packed(200, 77, 0)));
    EXPECT_EQ(RGB(255, 255, 255), HLSToRGB(Packed(13, 255, 0)));
}

TEST(HlsTest, ConversionsTruncateInSinglePrecision) {
    // Pure red reaches 360 degrees, which is not wrapped, so its hue byte is 255.
    EXPECT_EQ(Packed(255, 127, 255), RGBToHLS(RGB(255, 0, 0)));
    EXPECT_EQ(RGB(254, 0, 0), HLSToRGB(Packed(255, 127, 255)));
    // A maximum shared by green and blue takes blue's formula; the hue is 180 degrees either way.
    EXPECT_EQ(Packed(127, 127, 255), RGBToHLS(RGB(0, 255, 255)));
    EXPECT_EQ(Packed(42, 127, 255), RGBToHLS(RGB(255, 255, 0)));
    EXPECT_EQ(Packed(212, 127, 255), RGBToHLS(RGB(255, 0, 255)));
    EXPECT_EQ(Packed(158, 58, 211), RGBToHLS(RGB(10, 36, 106)));
    EXPECT_EQ(Packed(28, 206, 31), RGBToHLS(RGB(212, 208, 200)));
    EXPECT_EQ(Packed(148, 2, 127), RGBToHLS(RGB(1, 2, 3)));
    // The round trip loses a little to truncation.
    EXPECT_EQ(RGB(0, 254, 251), HLSToRGB(RGBToHLS(RGB(0, 255, 255))));
    EXPECT_EQ(RGB(10, 37, 105), HLSToRGB(RGBToHLS(RGB(10, 36, 106))));
    EXPECT_EQ(RGB(211, 207, 200), HLSToRGB(RGBToHLS(RGB(212, 208, 200))));
}

TEST(HlsTest, TransformMovesLuminanceAndSaturationByPercents) {
    // White darkened by 18 percent: luminance 255 becomes 82 x 255 / 100 = 209.
    EXPECT_EQ(RGB(209, 209, 209), HLSTransform(RGB(255, 255, 255), -18, 0));
    EXPECT_EQ(RGB(255, 255, 255), HLSTransform(RGB(255, 0, 0), 100, 0));
    EXPECT_EQ(RGB(0, 0, 0), HLSTransform(RGB(255, 0, 0), -100, 0));
    EXPECT_EQ(RGB(127, 127, 127), HLSTransform(RGB(255, 0, 0), 0, -100));
    // No change still goes through the conversions and their truncation.
    EXPECT_EQ(RGB(211, 207, 200), HLSTransform(RGB(212, 208, 200), 0, 0));
}

TEST(HlsTest, TheShadesOfTheFlatLookFromTheClassicColours) {
    const COLORREF face = RGB(212, 208, 200);
    const COLORREF highlight = RGB(10, 36, 106);
    EXPECT_EQ(RGB(219, 216, 210), HLSTransform(face, +20, 0));
    EXPECT_EQ(RGB(243, 242, 240), HLSTransform(face, +75, 0));
    EXPECT_EQ(RGB(242, 241, 239), HLSTransform(face, +73, 0));
    EXPECT_EQ(RGB(178, 171, 157), HLSTransform(face, -18, 0));
    EXPECT_EQ(RGB(162, 154, 137), HLSTransform(face, -27, 0));
    EXPECT_EQ(RGB(173, 185, 216), HLSTransform(highlight, +70, -57));
    EXPECT_EQ(RGB(115, 138, 196), HLSTransform(highlight, +50, -50));
    EXPECT_EQ(RGB(128, 144, 183), HLSTransform(highlight, +50, -66));
}

} // namespace
