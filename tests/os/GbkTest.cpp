#include "platform/os/Gbk.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

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

TEST(Gbk, AFailedConversionLeavesNothingBehindForTheNext) {
    // The converter is kept between calls: a text cut in the middle of a character must not run into the next.
    EXPECT_FALSE(GbkToUtf8("\xB4\xAE\xBF"));
    EXPECT_EQ(GbkToUtf8("\xBF\xDA"), std::optional<std::string>("口"));
    EXPECT_FALSE(Utf8ToGbk("\xE4\xB8"));
    EXPECT_EQ(Utf8ToGbk("口"), std::optional<std::string>("\xBF\xDA"));
    EXPECT_FALSE(GbkToUtf8("A\xFF\xFF"));
    EXPECT_EQ(GbkToUtf8("A\xB4\xAE"), std::optional<std::string>("A串"));
}

TEST(Gbk, ControlCharactersAndZeroBytesAreAsciiToo) {
    const std::string bytes("a\0b\t\r\n\x7F", 7);
    EXPECT_EQ(GbkToUtf8(bytes), std::optional<std::string>(bytes));
    EXPECT_EQ(Utf8ToGbk(bytes), std::optional<std::string>(bytes));
    const std::string mixed("\0\xB4\xAE", 3);
    EXPECT_EQ(GbkToUtf8(mixed), std::optional<std::string>(std::string("\0", 1) + "串"));
}

TEST(Gbk, ThreadsConvertAtTheSameTimeWithConvertersOfTheirOwn) {
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (int t = 0; t < 4; t++) {
        threads.emplace_back([&wrong, t] {
            for (int i = 0; i < 2000; i++) {
                const bool valid = (i + t) % 3 != 0;
                const std::optional<std::string> utf8 = GbkToUtf8(valid ? "\xB4\xAE\xBF\xDA" : "\xB4\xAE\xBF");
                if (valid ? utf8 != std::optional<std::string>("串口") : utf8.has_value())
                    ++wrong;
                if (Utf8ToGbk("串口") != std::optional<std::string>("\xB4\xAE\xBF\xDA"))
                    ++wrong;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, 0);
}
