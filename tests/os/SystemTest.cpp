#include "platform/os/System.h"
#include "platform/os/CodePage.h"
#include "platform/os/FilePath.h"
#include "platform/os/Gbk.h"
#include "platform/os/LastError.h"
#include "platform/os/MessageBox.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstring>
#include <optional>
#include <string>

TEST(MulDiv, RoundsHalvesAwayFromZeroAndFailsWithMinusOne) {
    EXPECT_EQ(MulDiv(1, 1, 2), 1);
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(1, -1, -2), 1);
    EXPECT_EQ(MulDiv(10, 1, 3), 3);
    EXPECT_EQ(MulDiv(10, 2, 3), 7);
    EXPECT_EQ(MulDiv(-10, 2, 3), -7);
    // The product may exceed 32 bits as long as the result fits.
    EXPECT_EQ(MulDiv(100000, 100000, 100000), 100000);
    EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
    EXPECT_EQ(MulDiv(5, 7, 0), -1);
    EXPECT_EQ(MulDiv(INT_MAX, 2, 1), -1);
}

// A name from the file system is UTF-8, whose multibyte characters never hold a backslash byte; a GBK name from
// a settings file may, as the second byte of a character, and is converted once.
TEST(FileNames, FileSystemNamesLoseEveryBackslashAndGbkNamesAreConvertedOnce) {
    // "\u6D4B" is E6 B5 8B in UTF-8: read as GBK, 8B would swallow the backslash after it.
    EXPECT_EQ(LocalFilePath("\\tmp\\\u6D4B\\logo.bmp"), "/tmp/\u6D4B/logo.bmp");
    EXPECT_EQ(LocalFilePath(".\\system.xml"), "./system.xml");
    // 0x95 0x5C is one GBK character whose second byte is a backslash; 0xC7 0xBD is U+5899.
    const std::optional<std::string> local = LocalFilePathFromGbk("C:\\\xC7\xBD\\\x95\x5C.bmp");
    ASSERT_TRUE(local);
    EXPECT_EQ(*local, "C:/\u5899/" + *GbkToUtf8("\x95\x5C") + ".bmp");
    EXPECT_FALSE(LocalFilePathFromGbk("bad\xFF\\name"));
}

TEST(ModuleFileName, GivesThisProgramsPathAndCutsToTheBuffer) {
    char path[4096];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    ASSERT_GT(n, 0u);
    EXPECT_EQ(std::strlen(path), n);
    EXPECT_EQ(path[0], '\\'); // the platform's separator
    EXPECT_EQ(std::strchr(path, '/'), nullptr);
    EXPECT_EQ(access(LocalFilePath(path).c_str(), X_OK), 0);

    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), 4u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(std::string(small), std::string(path, 3));
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, 0), 0u);
}

TEST(TickCount, AdvancesWithTime) {
    const DWORD before = GetTickCount();
    usleep(30000);
    const DWORD elapsed = GetTickCount() - before;
    EXPECT_GE(elapsed, 29u);
    EXPECT_LT(elapsed, 2000u);
}

TEST(OutOfMemoryReport, ShowsAnErrorBox) {
    MessageBoxRecorder boxes;
    AfxReportOutOfMemory();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].type & MB_ICONMASK, MB_ICONERROR);
    EXPECT_FALSE(boxes.Boxes()[0].text.empty());
}

TEST(CodePage, DescribesGbkLeadBytes) {
    CPINFO info;
    ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
    EXPECT_EQ(info.MaxCharSize, 2u);
    EXPECT_EQ(info.LeadByte[0], 0x81);
    EXPECT_EQ(info.LeadByte[1], 0xFE);
    EXPECT_EQ(info.LeadByte[2], 0);
    EXPECT_TRUE(GetCPInfo(CP_THREAD_ACP, &info));
    EXPECT_FALSE(GetCPInfo(1252, &info));
    EXPECT_FALSE(IsDBCSLeadByte(0x80));
    EXPECT_TRUE(IsDBCSLeadByte(0x81));
    EXPECT_TRUE(IsDBCSLeadByte(0xFE));
    EXPECT_FALSE(IsDBCSLeadByte(0xFF));
}

TEST(CodePage, GbkToWideCountsAsThePlatformDoes) {
    const char* text = "A\xD6\xD0";                                     // "A" and the GBK character U+4E2D
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0), 3); // with the terminator
    WCHAR wide[8] = {};
    ASSERT_EQ(MultiByteToWideChar(CP_THREAD_ACP, 0, text, 3, wide, 8), 2);
    EXPECT_EQ(wide[0], u'A');
    EXPECT_EQ(wide[1], u'\u4E2D');
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 2), 0);  // buffer too small
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xD6", 1, wide, 8), 0); // half a character
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, -1, wide, 8), 0);
}

TEST(CodePage, WideToGbkRoundTripsAndMarksCharactersGbkLacks) {
    const WCHAR wide[] = {u'A', u'\u4E2D', 0};
    char gbk[8] = {};
    BOOL usedDefault = TRUE;
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, -1, gbk, sizeof gbk, nullptr, &usedDefault), 4);
    EXPECT_STREQ(gbk, "A\xD6\xD0");
    EXPECT_FALSE(usedDefault);

    const WCHAR foreign[] = {u'\uAC00', 0xD800, u'b'}; // a Hangul syllable, a lone surrogate
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, foreign, 3, nullptr, 0, nullptr, nullptr), 3);
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, foreign, 3, gbk, sizeof gbk, nullptr, &usedDefault), 3);
    EXPECT_EQ(std::string(gbk, 3), "??b");
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, -1, gbk, 3, nullptr, nullptr), 0);
}

TEST(CodePage, MultibyteCompareTakesDoubleByteCharactersAsOneCode) {
    auto cmp = [](const char* a, const char* b) {
        return _mbscmp(reinterpret_cast<const unsigned char*>(a), reinterpret_cast<const unsigned char*>(b));
    };
    EXPECT_EQ(cmp("abc", "abc"), 0);
    EXPECT_LT(cmp("ab", "abc"), 0);
    EXPECT_GT(cmp("b", "a"), 0);
    // 0xB0A1 against 0xB0 0x41: the trail byte decides within the character.
    EXPECT_GT(cmp("\xB0\xA1", "\xB0\x41"), 0);
    // A lone lead byte at the end is the end of the text.
    EXPECT_EQ(cmp("ab\xB0", "ab"), 0);
    // Unsigned order: a high byte sorts after ASCII.
    EXPECT_GT(cmp("\xB0\xA1", "z"), 0);
}
