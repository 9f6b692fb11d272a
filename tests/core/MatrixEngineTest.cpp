#include "core/ConvertOperation.h"
#include "tests/core/AllocationCounter.h"
#include "tests/core/MatrixFixture.h"

#include <climits>
#include <cstring>

namespace {

std::string Decimal(int value, int width, int capacity = 33) {
    BYTE out[40];
    std::memset(out, 0x7F, sizeof out);
    int len = capacity;
    if (!FormatDecimalPadded(out, len, value, width))
        return "failed " + std::to_string(len);
    EXPECT_EQ(out[len], 0);
    EXPECT_EQ(out[len + 1], 0x7F) << "nothing past the terminator";
    return std::string(reinterpret_cast<char*>(out), static_cast<size_t>(len));
}

std::string HexText(int value) {
    BYTE out[9];
    int len = 0;
    FormatHexUpper(out, len, value);
    return std::string(reinterpret_cast<char*>(out), static_cast<size_t>(len));
}

uint32_t Number(const std::string& text, int base) {
    return ParseUnsignedText(text.data(), static_cast<int>(text.size()), base);
}

} // namespace

TEST(MatrixText, Formatting) {
    EXPECT_EQ(Decimal(7, 3), "007");
    EXPECT_EQ(Decimal(-5, 4), "00-5");
    EXPECT_EQ(Decimal(123, 2), "123");
    EXPECT_EQ(Decimal(INT_MIN, -1), "-2147483648");
    EXPECT_EQ(Decimal(1, 32), std::string(31, '0') + "1");
    EXPECT_EQ(Decimal(1, 33), "failed 33");
    EXPECT_EQ(Decimal(123, 4, 4), "failed 4") << "the terminator needs room too";
    EXPECT_EQ(Decimal(123, 4, 5), "0123");

    EXPECT_EQ(HexText(0), "0");
    EXPECT_EQ(HexText(255), "FF");
    EXPECT_EQ(HexText(-1), "FFFFFFFF");

    EXPECT_EQ(Number(" 0x0f", 16), 0x0Fu);
    EXPECT_EQ(Number("1Fz", 16), 0x1Fu);
    EXPECT_EQ(Number("0xg", 16), 0u);
    EXPECT_EQ(Number("-0x10", 16), 0xFFFFFFF0u);
    EXPECT_EQ(Number("+171abc", 10), 171u);
    EXPECT_EQ(Number("\xB5\xE7", 10), 0u);
    EXPECT_EQ(Number("4294967296", 10), 0xFFFFFFFFu);
    EXPECT_EQ(Number("-123456789ABCDEF01", 16), 0xFFFFFFFFu);
}

TEST(MatrixText, SignalTypesAndChannelNames) {
    EXPECT_EQ(ParseSignalType("hdmi"), kSignalHdmi);
    EXPECT_EQ(ParseSignalType("YPbPr"), kSignalAv);
    EXPECT_EQ(SignalTypeToName(2) + SignalTypeToName(9) + SignalTypeToName(0), "DVIDVIAV");
    CMatrix matrix("M", 0);
    matrix.SetSignal("vga", "\xC4\x61x"); // the second byte of this GBK character is an "a"
    std::string type, grow;
    matrix.GetSignal(type, grow);
    EXPECT_EQ(type + "|" + grow, "VGA|\xC4\x61X");

    CChannelTable table;
    table.SetCount(8);
    table.SetName(2, "Cam");
    table.SetName(12, "far");
    EXPECT_EQ(table.GetName(0) + table.GetName(9) + table.GetName(12), "");
    EXPECT_EQ(table.GetName(7), "7");
    std::string walked;
    int number = 0;
    std::string name;
    for (auto p = table.Begin(); table.GetEntry(p, number, name); p = table.Next(p))
        walked += std::to_string(number) + "=" + name + " ";
    EXPECT_EQ(walked, "2=Cam 7=7 12=far ") << "a default name once asked for is stored";
}

using MatrixBuild = MatrixFixture;

TEST_F(MatrixBuild, ArithmeticAndChecksums) {
    LoadMatrices(OnWall("<MESSAGE name=\"wrap\"><IN><do plus=\"2147483647\"/></IN></MESSAGE>"
                        "<MESSAGE name=\"div0\"><IN><do div=\"0\"/><do mod=\"0\"/></IN></MESSAGE>"
                        "<MESSAGE name=\"neg\"><IN><do div=\"-1\"/><do mod=\"-1\"/></IN></MESSAGE>"
                        "<MESSAGE name=\"signs\"><IN><do div=\"2\"/></IN><OUT><do mod=\"7\"/></OUT></MESSAGE>"
                        "<MESSAGE name=\"sum\"><BYTES type=\"hex\">A5</BYTES><IN/><OUT/><OUT/>"
                        "<CHKPLUS from=\"3\" to=\"1\"/><CHKXOR from=\"-4\" to=\"127\"/></MESSAGE>"
                        "<MESSAGE name=\"long\"><BYTES type=\"alpha\">ZZZZZZZZZZZZ</BYTES></MESSAGE>"));
    EXPECT_EQ(Build("wrap", 2, 0), Hex("01"));
    EXPECT_EQ(Build("div0", 300, 0), Hex("2C")) << "division by 0 leaves the value";
    EXPECT_EQ(Build("neg", INT_MIN, 0), Hex("00")) << "and so does the most negative value by -1";
    EXPECT_EQ(Build("signs", -7, -9), Hex("FD FE")) << "toward zero; the remainder takes the value's sign";
    // Left-over bytes of a longer message are no part of a checksum: only this build's bytes before it count.
    Build("long", 0, 0);
    EXPECT_EQ(Build("sum", 3, 4), Hex("A5 03 04 04 00 A6"));
}

TEST_F(MatrixBuild, WhatDoesNotFitItsBufferIsNotBuilt) {
    const std::string alpha32 = "<IN type=\"alpha\" width=\"32\"/>";
    LoadMatrices(OnWall("<MESSAGE name=\"128\">" + alpha32 + alpha32 + alpha32 + alpha32 + "</MESSAGE>" +
                        "<MESSAGE name=\"129\">" + alpha32 + alpha32 + alpha32 + alpha32 + "<OUT/></MESSAGE>" +
                        "<MESSAGE name=\"text32\"><BYTES type=\"alpha\">" + std::string(32, 'x') +
                        "</BYTES></MESSAGE>" + "<MESSAGE name=\"text33\"><BYTES type=\"alpha\">" +
                        std::string(33, 'x') + "</BYTES></MESSAGE>" +
                        "<MESSAGE name=\"width33\"><IN type=\"alpha\" width=\"33\"/></MESSAGE>"));
    EXPECT_EQ(Build("128", 5, 0).value_or(Bytes()).size(), 128u);
    EXPECT_FALSE(Build("129", 5, 0));
    EXPECT_EQ(Build("text32", 0, 0), Text(std::string(32, 'x')));
    EXPECT_FALSE(Build("text33", 0, 0));
    EXPECT_FALSE(Build("width33", 5, 0));

    BYTE small[10];
    int len = 10;
    EXPECT_EQ(Matrix("M")->MessageAt(0)->Build(5, 0, small, len), -1);
    EXPECT_EQ(len, 10);
}

TEST_F(MatrixBuild, BuildingAllocatesNothing) {
    LoadMatrices(OnWall("<MESSAGE name=\"all\"><BYTES type=\"alpha\">" + std::string(32, 'a') +
                        "</BYTES>"
                        "<BYTES type=\"hex\">0x1234ABCD</BYTES><BYTES type=\"number\">171</BYTES><BYTES/>"
                        "<LOWIN type=\"alpha\" width=\"20\"><do plus=\"1\"/></LOWIN><HIGHIN type=\"hex\"/>"
                        "<OUT type=\"number\"><do mod=\"100\"/></OUT><CHKXOR to=\"60\"><do and=\"127\"/></CHKXOR>"
                        "</MESSAGE>"));
    CMessage* message = Matrix("M")->MessageAt(0);
    BYTE buffer[kMessageBufferSize];
    int len = kMessageBufferSize;
    StartCountingAllocations();
    auto probe = std::make_unique<int>(1);
    ASSERT_EQ(StopCountingAllocations(), 1) << "the counter works";
    StartCountingAllocations();
    int r = message->Build(123456, 789, buffer, len);
    EXPECT_EQ(StopCountingAllocations(), 0);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(len, 32 + 3 + 20 + 5 + 2); // HIGHIN is the input too: 1E240
}
