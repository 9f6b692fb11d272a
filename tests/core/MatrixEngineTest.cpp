#include "core/ChannelTable.h"
#include "core/ConvertOperation.h"
#include "tests/core/AllocationCounter.h"
#include "tests/core/MatrixFixture.h"

#include <climits>
#include <cstring>

namespace {

std::string Formatted(int value, int width, int capacity = 33) {
    BYTE out[64];
    std::memset(out, 0x7F, sizeof out);
    int len = capacity;
    if (!FormatDecimalPadded(out, len, value, width))
        return "(failed, len " + std::to_string(len) + ")";
    EXPECT_EQ(out[len], 0) << "terminated";
    EXPECT_EQ(out[len + 1], 0x7F) << "nothing written past the terminator";
    return std::string(reinterpret_cast<char*>(out), static_cast<size_t>(len));
}

std::string Hexed(int value) {
    BYTE out[9];
    int len = -1;
    EXPECT_EQ(FormatHexUpper(out, len, value), 1);
    EXPECT_EQ(out[len], 0);
    return std::string(reinterpret_cast<char*>(out), static_cast<size_t>(len));
}

uint32_t Parsed(const std::string& text, int base) {
    return ParseUnsignedText(text.data(), static_cast<int>(text.size()), base);
}

} // namespace

TEST(MatrixText, DecimalPaddingPutsZerosBeforeTheSignAndNeverCuts) {
    EXPECT_EQ(Formatted(7, 3), "007");
    EXPECT_EQ(Formatted(-5, 4), "00-5");
    EXPECT_EQ(Formatted(123, 2), "123");
    EXPECT_EQ(Formatted(300, 0), "300");
    EXPECT_EQ(Formatted(8, -4), "8");
    EXPECT_EQ(Formatted(INT_MIN, 1), "-2147483648");
    EXPECT_EQ(Formatted(1, 32), std::string(31, '0') + "1");
}

TEST(MatrixText, DecimalPaddingRefusesWhatDoesNotFitWithItsTerminator) {
    EXPECT_EQ(Formatted(1, 33), "(failed, len 33)");
    EXPECT_EQ(Formatted(123, 4, 5), "0123");
    EXPECT_EQ(Formatted(123, 4, 4), "(failed, len 4)"); // four characters and the zero need five bytes
    EXPECT_EQ(Formatted(-12345, 0, 6), "(failed, len 6)");
}

TEST(MatrixText, HexDigitsAreUpperCaseWithoutLeadingZeros) {
    EXPECT_EQ(Hexed(0), "0");
    EXPECT_EQ(Hexed(255), "FF");
    EXPECT_EQ(Hexed(26), "1A");
    EXPECT_EQ(Hexed(0x10000), "10000");
    EXPECT_EQ(Hexed(-1), "FFFFFFFF"); // the 32-bit pattern, at most eight digits
    EXPECT_EQ(Hexed(INT_MIN), "80000000");
}

TEST(MatrixText, TextReadAsANumber) {
    EXPECT_EQ(Parsed("A5", 16), 0xA5u);
    EXPECT_EQ(Parsed("0x0f", 16), 0x0Fu);
    EXPECT_EQ(Parsed("0XfF", 16), 0xFFu);
    EXPECT_EQ(Parsed("  \t1Fzz", 16), 0x1Fu);
    EXPECT_EQ(Parsed("0xg", 16), 0u);
    EXPECT_EQ(Parsed("0x", 16), 0u);
    EXPECT_EQ(Parsed("171", 10), 171u);
    EXPECT_EQ(Parsed("+13", 10), 13u);
    EXPECT_EQ(Parsed("-1", 10), 0xFFFFFFFFu);
    EXPECT_EQ(Parsed("-0x10", 16), 0xFFFFFFF0u);
    EXPECT_EQ(Parsed("12abc", 10), 12u);
    EXPECT_EQ(Parsed("abc", 10), 0u);
    EXPECT_EQ(Parsed("", 16), 0u);
    EXPECT_EQ(Parsed("4294967295", 10), 0xFFFFFFFFu);
    EXPECT_EQ(Parsed("4294967296", 10), 0xFFFFFFFFu);
    EXPECT_EQ(Parsed("-99999999999999999999", 10), 0xFFFFFFFFu);
    EXPECT_EQ(Parsed("123456789ABCDEF0123", 16), 0xFFFFFFFFu);
    EXPECT_EQ(Parsed("\xB5\xE7", 16), 0u); // GBK bytes are no digits
}

TEST(MatrixText, SignalTypesReadInAnyCaseAndWriteTheirNames) {
    EXPECT_EQ(ParseSignalType("hdmi"), kSignalHdmi);
    EXPECT_EQ(ParseSignalType("Vga"), kSignalVga);
    EXPECT_EQ(ParseSignalType("DVI"), kSignalDvi);
    EXPECT_EQ(ParseSignalType("AV"), kSignalAv);
    EXPECT_EQ(ParseSignalType("YPbPr"), kSignalAv);
    EXPECT_EQ(ParseSignalType(""), kSignalAv);
    EXPECT_EQ(SignalTypeToName(0), "AV");
    EXPECT_EQ(SignalTypeToName(1), "VGA");
    EXPECT_EQ(SignalTypeToName(2), "DVI");
    EXPECT_EQ(SignalTypeToName(3), "HDMI");
    EXPECT_EQ(SignalTypeToName(9), "DVI");
    EXPECT_EQ(SignalTypeToName(-1), "DVI");
}

TEST(MatrixText, SignalCommandsAreKeptUpperCasedWithoutTouchingDoubleByteCharacters) {
    CMatrix matrix("M", 0);
    // The second byte of this GBK character is a lower-case letter's code.
    matrix.SetSignal("vga", "\xC4\x61x");
    std::string type, grow;
    matrix.GetSignal(type, grow);
    EXPECT_EQ(type, "VGA");
    EXPECT_EQ(grow, "\xC4\x61X");
}

TEST(ChannelTable, NamesWithinTheCountDefaultToTheirNumber) {
    CChannelTable table;
    EXPECT_EQ(table.GetName(1), "");
    table.SetCount(8);
    table.SetName(2, "Camera");
    table.SetName(3, "");
    table.SetName(12, "Spare");
    EXPECT_EQ(table.GetName(0), "");
    EXPECT_EQ(table.GetName(-3), "");
    EXPECT_EQ(table.GetName(9), "");
    EXPECT_EQ(table.GetName(12), "");
    EXPECT_EQ(table.GetName(2), "Camera");
    EXPECT_EQ(table.GetName(3), "3");

    // GetName stored 3's default name and the walk shows it; channel 7 was never asked for.
    std::vector<std::pair<int, std::string>> walked;
    int number = 0;
    std::string name;
    for (auto p = table.Begin(); table.GetEntry(p, number, name); p = table.Next(p))
        walked.emplace_back(number, name);
    EXPECT_EQ(walked, (std::vector<std::pair<int, std::string>>{{2, "Camera"}, {3, "3"}, {12, "Spare"}}));
    EXPECT_EQ(table.GetName(7), "7");
}

TEST(ChannelTable, AnEmptyNameIsShownAsTheNumberButNotStored) {
    CChannelTable table;
    table.SetCount(4);
    table.SetName(4, "");
    int number = 0;
    std::string name;
    ASSERT_TRUE(table.GetEntry(table.Begin(), number, name));
    EXPECT_EQ(number, 4);
    EXPECT_EQ(name, "4");
    EXPECT_FALSE(table.GetEntry(table.End(), number, name));
}

using MatrixBuild = MatrixFixture;

TEST_F(MatrixBuild, ArithmeticWrapsAndUndefinedDivisionsLeaveTheValue) {
    LoadMatrices(OnWall("<MESSAGE name=\"plus\"><IN><do plus=\"2147483647\"/></IN></MESSAGE>"
                        "<MESSAGE name=\"div0\"><IN><do div=\"0\"/></IN></MESSAGE>"
                        "<MESSAGE name=\"mod0\"><IN><do mod=\"0\"/></IN></MESSAGE>"
                        "<MESSAGE name=\"divNeg\"><IN><do div=\"-1\"/></IN></MESSAGE>"
                        "<MESSAGE name=\"modNeg\"><IN><do mod=\"-1\"/></IN></MESSAGE>"
                        "<MESSAGE name=\"mod\"><IN><do mod=\"7\"/></IN></MESSAGE>"
                        "<MESSAGE name=\"divTrunc\"><IN><do div=\"2\"/></IN></MESSAGE>"
                        "<MESSAGE name=\"and\"><IN><do and=\"15\"/><do plus=\"16\"/></IN></MESSAGE>"
                        "<MESSAGE name=\"notANumber\"><IN><do div=\"two\"/></IN></MESSAGE>"));
    EXPECT_EQ(Build("M", "plus", 2, 0), Hex("01")); // 0x80000001
    EXPECT_EQ(Build("M", "div0", 300, 0), Hex("2C"));
    EXPECT_EQ(Build("M", "mod0", 300, 0), Hex("2C"));
    EXPECT_EQ(Build("M", "divNeg", INT_MIN, 0), Hex("00"));
    EXPECT_EQ(Build("M", "modNeg", INT_MIN, 0), Hex("00"));
    EXPECT_EQ(Build("M", "divNeg", 5, 0), Hex("FB"));
    EXPECT_EQ(Build("M", "mod", -9, 0), Hex("FE"));      // -2: the remainder takes the sign of the value
    EXPECT_EQ(Build("M", "divTrunc", -7, 0), Hex("FD")); // -3, toward zero
    EXPECT_EQ(Build("M", "and", 0x1234, 0), Hex("14"));
    EXPECT_EQ(Build("M", "notANumber", 300, 0), Hex("2C"));
}

TEST_F(MatrixBuild, AChecksumCoversOnlyTheBytesThisBuildHasMade) {
    LoadMatrices(OnWall("<MESSAGE name=\"wide\"><BYTES type=\"hex\">A5</BYTES><IN/>"
                        "<CHKXOR from=\"-4\" to=\"127\"/><OUT/></MESSAGE>"
                        "<MESSAGE name=\"long\"><BYTES type=\"alpha\">ZZZZZZZZZZZZZZZZZZZZ</BYTES></MESSAGE>"
                        "<MESSAGE name=\"reversed\"><BYTES type=\"hex\">A5</BYTES><IN/><OUT/><OUT/>"
                        "<CHKPLUS from=\"3\" to=\"1\"/></MESSAGE>"
                        "<MESSAGE name=\"own\"><IN/><CHKPLUS from=\"0\" to=\"1\"/></MESSAGE>"));
    // A longer message first leaves its bytes in the buffer the next one reuses.
    CMatrix* m = Matrix("M");
    BYTE buffer[kMessageBufferSize];
    int len = kMessageBufferSize;
    ASSERT_EQ(m->MessageAt(m->FindMessage("long"))->Build(0, 0, buffer, len), 0);
    len = kMessageBufferSize;
    ASSERT_EQ(m->MessageAt(m->FindMessage("wide"))->Build(3, 4, buffer, len), 0);
    EXPECT_EQ(Bytes(buffer, buffer + len), Hex("A5 03 A6 04"));
    EXPECT_EQ(Build("M", "wide", 3, 4), Hex("A5 03 A6 04"));
    EXPECT_EQ(Build("M", "reversed", 3, 4), Hex("A5 03 04 04 00"));
    EXPECT_EQ(Build("M", "own", 9, 0), Hex("09 09"));
}

TEST_F(MatrixBuild, AMessageOrSegmentBeyondItsBufferIsNotBuilt) {
    const std::string alpha32 = "<IN type=\"alpha\" width=\"32\"/>";
    LoadMatrices(OnWall("<MESSAGE name=\"fits\">" + alpha32 + alpha32 + alpha32 + alpha32 + "</MESSAGE>" +
                        "<MESSAGE name=\"over\">" + alpha32 + alpha32 + alpha32 + alpha32 + "<OUT/></MESSAGE>" +
                        "<MESSAGE name=\"text32\"><BYTES type=\"alpha\">" + std::string(32, 'x') +
                        "</BYTES></MESSAGE>"
                        "<MESSAGE name=\"text33\"><BYTES type=\"alpha\">" +
                        std::string(33, 'x') +
                        "</BYTES></MESSAGE>"
                        "<MESSAGE name=\"width33\"><IN type=\"alpha\" width=\"33\"/></MESSAGE>"
                        "<MESSAGE name=\"empty\"/>"));
    auto fits = Build("M", "fits", 5, 0);
    ASSERT_TRUE(fits);
    EXPECT_EQ(fits->size(), 128u);
    EXPECT_EQ(fits->back(), '5');
    EXPECT_FALSE(Build("M", "over", 5, 0));
    EXPECT_EQ(Build("M", "text32", 0, 0), Text(std::string(32, 'x')));
    EXPECT_FALSE(Build("M", "text33", 0, 0));
    EXPECT_FALSE(Build("M", "width33", 5, 0));
    EXPECT_EQ(Build("M", "empty", 5, 0), Bytes());

    CMessage* message = Matrix("M")->MessageAt(0);
    BYTE small[10];
    int len = 10;
    EXPECT_EQ(message->Build(5, 0, small, len), -1) << "a 10-byte buffer cannot take 128 bytes";
    EXPECT_EQ(len, 10);
    len = 0;
    EXPECT_EQ(message->Build(5, 0, small, len), -1);
    len = 10;
    EXPECT_EQ(message->Build(5, 0, nullptr, len), -1);
}

TEST_F(MatrixBuild, BuildingAllocatesNothing) {
    LoadMatrices(OnWall("<MESSAGE name=\"all\"><BYTES type=\"alpha\">A long constant text of 30 bytes</BYTES>"
                        "<BYTES type=\"hex\">0x1234ABCD</BYTES><BYTES type=\"number\">171</BYTES><BYTES/>"
                        "<LOWIN type=\"alpha\" width=\"20\"><do plus=\"1\"/></LOWIN><HIGHIN type=\"hex\"/>"
                        "<OUT type=\"number\"><do mod=\"100\"/></OUT><CHKPLUS from=\"0\" to=\"60\"/>"
                        "<CHKXOR from=\"0\" to=\"60\"><do and=\"127\"/></CHKXOR></MESSAGE>"));
    CMessage* message = Matrix("M")->MessageAt(0);
    BYTE buffer[kMessageBufferSize];
    int len = kMessageBufferSize;
    // The counter itself sees an allocation.
    StartCountingAllocations();
    auto probe = std::make_unique<int>(1);
    ASSERT_EQ(StopCountingAllocations(), 1);

    StartCountingAllocations();
    int r = message->Build(123456, 789, buffer, len);
    int allocations = StopCountingAllocations();
    EXPECT_EQ(r, 0);
    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(len, 32 + 1 + 1 + 1 + 20 + 5 + 1 + 1 + 1); // HIGHIN is the input too: 1E240
}
