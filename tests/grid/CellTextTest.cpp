#include "grid/CellText.h"

#include "GridTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(CellText, KeepsEveryLengthWhetherInsideOrInABlockOfItsOwn) {
    CCellText text;
    EXPECT_STREQ(text.c_str(), "");
    EXPECT_TRUE(text.empty());
    // Around the end of the room inside (15 bytes), of the shared blocks (31) and beyond.
    for (size_t length : {0, 1, 14, 15, 16, 17, 30, 31, 32, 33, 200}) {
        std::string bytes;
        for (size_t i = 0; i < length; i++)
            bytes += static_cast<char>(i % 2 ? '\xB4' : 'a' + i % 26); // GBK lead bytes and letters alike
        text.Assign(bytes.c_str());
        EXPECT_EQ(text.size(), length);
        EXPECT_EQ(std::string(text.c_str()), bytes);
        EXPECT_EQ(text.c_str()[length], '\0');
        EXPECT_EQ(text.empty(), length == 0);
        const CCellText copy(text);
        EXPECT_EQ(std::string(copy.c_str()), bytes);
    }
    text.Assign(nullptr);
    EXPECT_STREQ(text.c_str(), "");
    text.Assign("abc", 2); // a length shorter than the text
    EXPECT_STREQ(text.c_str(), "ab");
}

TEST(CellText, TakesItsOwnTextOrAPartOfIt) {
    CCellText text;
    for (const char* start : {"a short one", "a text long enough for a block",
                              "a text too long for a shared block, so "
                              "it has one of its own"}) {
        text.Assign(start);
        const std::string whole = text.c_str();
        text.Assign(text.c_str() + 2); // from inside itself, whichever way it is kept
        EXPECT_EQ(std::string(text.c_str()), whole.substr(2));
        text.Assign(text.c_str(), 3);
        EXPECT_EQ(std::string(text.c_str()), whole.substr(2, 3));
        text = text; // NOLINT: assigning itself keeps it
        EXPECT_EQ(std::string(text.c_str()), whole.substr(2, 3));
    }
}

TEST(CellMemory, DescriptionsOfAFewDozenCharactersShareBlocksToo) {
    TestGrid grid(0, 50);
    StartCountingBytes();
    grid.SetRowCount(2000);
    for (int row = 0; row < 2000; row++)
        for (int col = 0; col < 50; col++)
            grid.SetItemText(row, col, "input 12 of matrix 3, pos 7"); // 27 characters
    const AllocationCount count = StopCountingBytes();
    const double perCell = static_cast<double>(count.bytes) / (2000.0 * 50.0);
    EXPECT_LE(perCell, 92.0);
#if !defined(__SANITIZE_ADDRESS__) // the sanitizer build gives every text an allocation of its own
    EXPECT_LT(count.calls, 2000u + 2u * 2000u * 50u / 1000u);
#endif
}

TEST(CellText, TheHeadIsTheTextsBeginningWhereverTheTextIsKept) {
    CCellText text;
    size_t count = 0;
    text.Assign("short");
    EXPECT_EQ(std::string(text.Head(&count), 5), "short");
    EXPECT_EQ(count, 5u);
    text.Assign("a description that needs a block");
    EXPECT_EQ(std::string(text.Head(&count), 3), "a d");
    EXPECT_EQ(count, 3u);
    text.Assign(text.c_str() + 2); // the head follows a text taken from its own block
    EXPECT_EQ(std::string(text.Head(&count), 3), "des");
    text.Assign("");
    text.Head(&count);
    EXPECT_EQ(count, 0u);
}
