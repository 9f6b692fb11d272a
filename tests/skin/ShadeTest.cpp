#include "skin/Dib.h"
#include "skin/ShadeButton.h"
#include "tests/skin/ShadeProbe.h"

#include "platform/gui/dialogs/Dialog.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/os/Rand.h"

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

const RGBQUAD* Palette(LPBYTE block) { return reinterpret_cast<const RGBQUAD*>(block + sizeof(BITMAPINFOHEADER)); }

QColor Q(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

constexpr UINT kDialog = 9801;
const DlgTemplate kShadeDialog[] = {
    {kDialog,
     "Shades",
     320,
     240,
     WS_POPUP | WS_CAPTION,
     {
         {1001, DlgItemKind::PushButton, "", 10, 10, 40, 20, WS_VISIBLE | WS_TABSTOP},
         {1002, DlgItemKind::PushButton, "", 60, 10, 40, 100, WS_VISIBLE | WS_TABSTOP},
         {1003, DlgItemKind::PushButton, "", 110, 10, 5, 20, WS_VISIBLE | WS_TABSTOP},
         {1004, DlgItemKind::PushButton, "", 120, 10, 0, 20, WS_VISIBLE | WS_TABSTOP},
     }},
};

class ShadeTest : public testing::Test {
protected:
    void SetUp() override {
        CResourceTable::AddDialogs(kShadeDialog);
        ASSERT_TRUE(m_dialog.Create(kDialog));
    }
    void TearDown() override { ResetSysColorsForTest(); }

    ShadeProbe& Button(UINT id) {
        auto* button = new ShadeProbe;
        EXPECT_TRUE(button->SubclassDlgItem(id, &m_dialog));
        m_buttons.emplace_back(button);
        return *button;
    }

    CDialog m_dialog{kDialog};
    std::vector<std::unique_ptr<ShadeProbe>> m_buttons;
};

} // namespace

// ---------------------------------------------------------------------------------------------------------------
// The bitmap.

TEST(Dib, RowsArePaddedToFourBytesAndThePaletteFollowsTheDepth) {
    struct Case {
        DWORD width;
        WORD bits;
        DWORD line;
        DWORD palette;
    };
    for (const Case c : {Case{1, 8, 4, 256}, Case{5, 8, 8, 256}, Case{8, 8, 8, 256}, Case{9, 4, 8, 16},
                         Case{33, 1, 8, 2}, Case{3, 24, 12, 0}, Case{0, 8, 0, 256}}) {
        CDib dib;
        LPBYTE block = dib.Create(c.width, 3, c.bits);
        ASSERT_NE(block, nullptr) << c.width << "x" << c.bits;
        EXPECT_EQ(dib.GetLineWidth(), c.line) << c.width << "x" << c.bits;
        EXPECT_EQ(dib.GetBits(), block + sizeof(BITMAPINFOHEADER) + c.palette * sizeof(RGBQUAD));
        BITMAPINFOHEADER header{};
        std::memcpy(&header, block, sizeof(header));
        EXPECT_EQ(header.biSize, 40u);
        EXPECT_EQ(header.biHeight, 3);
        EXPECT_EQ(header.biPlanes, 1);
        EXPECT_EQ(header.biSizeImage, c.line * 3);
        // A new bitmap starts as palette entry 0 everywhere, whatever the memory held before.
        const size_t rest = c.palette * sizeof(RGBQUAD) + c.line * 3;
        EXPECT_TRUE(std::all_of(block + 40, block + 40 + rest, [](BYTE b) { return b == 0; }));
    }
}

TEST(Dib, SizesTheHeaderCannotHoldAreRefused) {
    CDib dib;
    ASSERT_NE(dib.Create(4, 4, 8), nullptr);
    EXPECT_EQ(dib.Create(0x80000000u, 1, 8), nullptr);
    EXPECT_EQ(dib.Create(0x10000u, 0x10000u, 8), nullptr);
    EXPECT_EQ(dib.GetBits(), nullptr);
    EXPECT_EQ(dib.GetWidth(), 0u);
    dib.SetPixelIndex(0, 0, 1); // an empty bitmap takes no pixels
    dib.Clear(3);
}

TEST(Dib, PixelsAreAddressedFromTheTopAndStoredBottomRowFirst) {
    CDib dib;
    ASSERT_NE(dib.Create(3, 4, 8), nullptr);
    dib.SetPixelIndex(0, 0, 11);
    dib.SetPixelIndex(2, 3, 22);
    dib.SetPixelIndex(-1, 0, 99);
    dib.SetPixelIndex(3, 0, 99);
    dib.SetPixelIndex(0, 4, 99);
    const LPBYTE bits = dib.GetBits();
    EXPECT_EQ(bits[3 * 4 + 0], 11); // top row, stored last
    EXPECT_EQ(bits[0 * 4 + 2], 22); // bottom row, stored first
    EXPECT_EQ(std::count(bits, bits + 16, 99), 0);

    // Narrower pixels share bytes, the leftmost in the high bits.
    CDib mono;
    ASSERT_NE(mono.Create(10, 2, 1), nullptr);
    mono.SetPixelIndex(0, 1, 1);
    mono.SetPixelIndex(9, 1, 1);
    EXPECT_EQ(mono.GetBits()[0], 0x80);
    EXPECT_EQ(mono.GetBits()[1], 0x40);
    CDib nibbles;
    ASSERT_NE(nibbles.Create(3, 1, 4), nullptr);
    nibbles.SetPixelIndex(1, 0, 0xF);
    nibbles.SetPixelIndex(2, 0, 0x7);
    EXPECT_EQ(nibbles.GetBits()[0], 0x0F);
    EXPECT_EQ(nibbles.GetBits()[1], 0x70);
}

TEST(Dib, BlendingMovesThePaletteTowardsAColourAndAboveNinetyNineReplacesIt) {
    struct Case {
        long percent;
        BYTE red;
    };
    // Entry red 100 towards red 200.
    for (const Case c : {Case{0, 100}, Case{10, 110}, Case{99, 199}, Case{100, 200}, Case{250, 200}, Case{-1, 200}}) {
        CDib dib;
        LPBYTE block = dib.Create(2, 2, 8);
        dib.SetPaletteIndex(0, 100, 50, 7);
        dib.BlendPalette(RGB(200, 50, 0), c.percent);
        EXPECT_EQ(Palette(block)[0].rgbRed, c.red) << c.percent;
        EXPECT_EQ(Palette(block)[0].rgbGreen, 50) << c.percent;
        EXPECT_EQ(Palette(block)[0].rgbReserved, 0) << c.percent;
    }
}

TEST(Dib, ACloneIsAnIndependentCopyAndDrawingShowsThePaletteColours) {
    CDib dib;
    ASSERT_NE(dib.Create(4, 2, 8), nullptr);
    dib.SetPaletteIndex(1, 10, 20, 30);
    dib.SetPaletteIndex(2, 200, 100, 50);
    dib.Clear(1);
    dib.SetPixelIndex(3, 0, 2);
    CDib copy;
    LPBYTE block = copy.Clone(&dib);
    ASSERT_NE(block, nullptr);
    copy.BlendPalette(RGB(255, 255, 255), 100);
    EXPECT_EQ(Palette8(dib)[1].rgbRed, 10);
    EXPECT_EQ(Palette8(copy)[1].rgbRed, 255);

    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(Qt::black);
    CDC dc;
    ASSERT_TRUE(dc.AttachImage(&image));
    dib.Draw(dc.m_hDC, 1, 1);
    dib.Draw(dc.m_hDC, 1, 1); // the section made on the first draw serves again
    EXPECT_EQ(image.pixelColor(1, 1), QColor(10, 20, 30));
    EXPECT_EQ(image.pixelColor(4, 1), QColor(200, 100, 50));
    EXPECT_EQ(image.pixelColor(4, 2), QColor(10, 20, 30));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(5, 3), QColor(Qt::black));
    copy.Draw(dc.m_hDC, 0, 0);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));

    // Bitmaps without pixels draw nothing.
    CDib empty;
    CDib flat;
    flat.Create(0, 5, 8);
    image.fill(Qt::black);
    empty.Draw(dc.m_hDC, 0, 0);
    flat.Draw(dc.m_hDC, 0, 0);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(copy.Clone(&empty), nullptr);
    EXPECT_EQ(copy.GetBits(), nullptr);
}

// ---------------------------------------------------------------------------------------------------------------
// The faces. Expected indexes come from a separate model of the patterns and of the runtime's generator.

TEST_F(ShadeTest, ThePaletteRunsFromShadowThroughFaceToHighlight) {
    ShadeProbe& button = Button(1001);
    button.SetShade(CShadeButton::kVerticalSoftRamp, 8, 10, 0, 0);
    const CDib& face = button.Normal();
    const RGBQUAD* palette = Palette8(face);
    auto colour = [&](int i) { return QColor(palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue); };
    EXPECT_EQ(colour(0), Q(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(colour(127), QColor(211, 207, 199)); // one step short of the face
    EXPECT_EQ(colour(128), QColor(212, 208, 200)); // (127 face + highlight) / 128
    EXPECT_EQ(colour(255), Q(GetSysColor(COLOR_BTNHIGHLIGHT)));

    // The hover face: the same pixels, the palette 10% of the way to the highlight.
    const CDib& hover = button.Highlighted();
    const RGBQUAD* light = Palette8(hover);
    EXPECT_EQ(light[0].rgbRed, (128 * 90 + 255 * 10) / 100);
    EXPECT_EQ(light[128].rgbBlue, (200 * 90 + 255 * 10) / 100);
    EXPECT_EQ(std::memcmp(hover.GetBits(), face.GetBits(), face.GetLineWidth() * face.GetHeight()), 0);

    // A colouring moves the normal face too.
    button.SetShade(CShadeButton::kVerticalSoftRamp, 8, 10, 50, RGB(0, 0, 255));
    const RGBQUAD* tinted = Palette8(button.Normal());
    EXPECT_EQ(tinted[255].rgbRed, 127);
    EXPECT_EQ(tinted[255].rgbBlue, 255);
}

TEST_F(ShadeTest, SeededFacesOfTheTextAndIconPatternsHaveExactPixels) {
    struct Case {
        UINT type;
        BYTE expected[9]; // at x 2, 20, 37 for y 2, 10, 17
    };
    const long xs[] = {2, 20, 37};
    const long ys[] = {2, 10, 17};
    ShadeProbe& button = Button(1001);
    for (const Case& c : {Case{CShadeButton::kVerticalSoftRamp, {172, 161, 170, 125, 129, 133, 71, 62, 67}},
                          Case{CShadeButton::kDiagonalSoftRamp, {251, 161, 100, 211, 129, 62, 157, 62, 7}}}) {
        CrtSrand(1);
        button.SetShade(c.type, 8, 10, 0, 0);
        ASSERT_EQ(button.Normal().GetWidth(), 40u);
        ASSERT_EQ(button.Normal().GetHeight(), 20u);
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(IndexAt(button.Normal(), xs[i % 3], ys[i / 3]), c.expected[i])
                << "type " << c.type << " at " << xs[i % 3] << ", " << ys[i / 3];
    }

    // The face is what the button shows, pixel for pixel, inside its border.
    ShadeProbe& shown = button;
    CrtSrand(1);
    shown.SetShade(CShadeButton::kDiagonalSoftRamp, 8, 10, 0, 0);
    m_dialog.ShowWindow(SW_SHOW);
    const QImage image = shown.GetHostWidget()->grab().toImage();
    for (long y : ys)
        for (long x : xs)
            EXPECT_EQ(image.pixelColor(static_cast<int>(x), static_cast<int>(y)), FaceColour(shown.Normal(), x, y))
                << x << ", " << y;
}

TEST_F(ShadeTest, TheSoftRampsStayInsideTheirRangeForAnySeed) {
    ShadeProbe& tall = Button(1002);
    for (unsigned seed = 1; seed <= 20; ++seed) {
        CrtSrand(seed);
        tall.SetShade(CShadeButton::kVerticalSoftRamp, 8, 10, 0, 0);
        const CDib& face = tall.Normal();
        const BYTE* bits = face.GetBits();
        const auto [low, high] = std::minmax_element(bits, bits + face.GetLineWidth() * face.GetHeight());
        EXPECT_GE(*low, 3) << seed;
        EXPECT_LE(*high, 253) << seed;
    }
    // The diagonal ramp is clamped to 8..247 before its noise: the corners reach the ends without wrapping.
    CrtSrand(5);
    tall.SetShade(CShadeButton::kDiagonalSoftRamp, 8, 10, 0, 0);
    EXPECT_LE(IndexAt(tall.Normal(), 39, 99), 16);
    EXPECT_GE(IndexAt(tall.Normal(), 0, 0), 239);
}

TEST_F(ShadeTest, GranularityZeroGivesNoiseOfZeroOrOne) {
    ShadeProbe& button = Button(1001);
    // The noise is 1 only where rand gives 32767, which this seed does not give for the face's 800 pixels.
    CrtSrand(3);
    button.SetShade(CShadeButton::kFlat, 0, 10, 0, 0);
    const CDib& face = button.Normal();
    const BYTE* bits = face.GetBits();
    EXPECT_TRUE(std::all_of(bits, bits + face.GetLineWidth() * face.GetHeight(), [](BYTE b) { return b == 128; }));
    // Granularity 8 spreads the flat face over 120..136 (136 only for the top 16 values of rand).
    CrtSrand(3);
    button.SetShade(CShadeButton::kFlat, 8, 10, 0, 0);
    const BYTE* spread = face.GetBits();
    const auto [low, high] = std::minmax_element(spread, spread + face.GetLineWidth() * face.GetHeight());
    EXPECT_EQ(*low, 120);
    EXPECT_EQ(*high, 135);
}

TEST_F(ShadeTest, PatternsThatWouldDivideByZeroOnASmallButtonFallBackToTheFlatFace) {
    ShadeProbe& narrow = Button(1003); // 5 wide: a sixth of it is 0
    CrtSrand(9);
    narrow.SetShade(CShadeButton::kBandedSoftRamp, 8, 10, 0, 0);
    const CDib& face = narrow.Normal();
    ASSERT_EQ(face.GetWidth(), 5u);
    for (long y = 0; y < 20; ++y)
        for (long x = 0; x < 5; ++x) {
            EXPECT_GE(IndexAt(face, x, y), 120);
            EXPECT_LE(IndexAt(face, x, y), 136);
        }
    // Wide enough, the same pattern has its bands: light on the left edge, dark on the right.
    ShadeProbe& wide = Button(1001);
    CrtSrand(9);
    wide.SetShade(CShadeButton::kBandedSoftRamp, 8, 10, 0, 0);
    EXPECT_EQ(IndexAt(wide.Normal(), 0, 10), 251);
    EXPECT_EQ(IndexAt(wide.Normal(), 39, 10), 25);
    EXPECT_EQ(IndexAt(wide.Normal(), 20, 10), 120);
    // The scratches work at any size the window can have.
    CrtSrand(9);
    narrow.SetShade(CShadeButton::kScratches, 8, 10, 0, 0);
    EXPECT_EQ(narrow.Normal().GetWidth(), 5u);
}

TEST_F(ShadeTest, AnEmptyButtonPaintsNothing) {
    ShadeProbe& empty = Button(1004);
    CrtSrand(2);
    const int first = CrtRand();
    for (UINT type = 0; type <= 9; ++type) {
        CrtSrand(2);
        empty.SetShade(type, 8, 10, 0, 0);
        EXPECT_EQ(empty.Normal().GetWidth(), 0u);
        EXPECT_EQ(CrtRand(), first) << "no noise drawn for type " << type;
    }
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    CDC dc;
    ASSERT_TRUE(dc.AttachImage(&image));
    CRect rect(0, 0, 8, 8);
    empty.PaintBackground(&dc, &rect);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::magenta));

    // A button whose faces were never built paints no background either.
    ShadeProbe& unset = Button(1001);
    unset.PaintBackground(&dc, &rect);
    EXPECT_EQ(image.pixelColor(3, 3), QColor(Qt::magenta));
}
