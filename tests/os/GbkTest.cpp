#include "platform/os/Gbk.h"

#include <gtest/gtest.h>

TEST(Gbk, ChineseTextRoundTripsByteForByte) {
    const std::string gbk = "\xB4\xAE\xBF\xDA"; // 串口
    std::optional<std::string> utf8 = GbkToUtf8(gbk);
    ASSERT_TRUE(utf8);
    EXPECT_EQ(*utf8, "串口");
    std::optional<std::string> back = Utf8ToGbk(*utf8);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, gbk);
}

TEST(Gbk, AsciiAndEmptyPassUnchanged) {
    EXPECT_EQ(GbkToUtf8("COM3 9600"), std::optional<std::string>("COM3 9600"));
    EXPECT_EQ(Utf8ToGbk(""), std::optional<std::string>(""));
}

TEST(Gbk, ByteEightyIsTheEuroSignAsInCodePage936) { EXPECT_EQ(GbkToUtf8("\x80"), std::optional<std::string>("€")); }

TEST(Gbk, InvalidInputIsReportedNotGuessed) {
    EXPECT_FALSE(GbkToUtf8("\xB4"));             // lead byte without its trail byte
    EXPECT_FALSE(GbkToUtf8("\xFF\xFF"));         // not a GBK sequence
    EXPECT_FALSE(Utf8ToGbk("\xC3"));             // truncated UTF-8
    EXPECT_FALSE(Utf8ToGbk("\xF0\x9F\x98\x80")); // a character GBK does not have
}

TEST(Gbk, LongTextsConvertWhole) {
    std::string utf8;
    for (int i = 0; i < 5000; ++i)
        utf8 += "到达上限！";
    std::optional<std::string> gbk = Utf8ToGbk(utf8);
    ASSERT_TRUE(gbk);
    EXPECT_EQ(gbk->size(), 5000u * 10u);
    EXPECT_EQ(GbkToUtf8(*gbk), std::optional<std::string>(utf8));
}
