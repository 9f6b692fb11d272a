#include "platform/os/String.h"

#include <gtest/gtest.h>

TEST(CStringText, CaseChangesLeaveDoubleByteCharactersWhole) {
    // 0xC1 0x61 is one GBK character whose trail byte looks like 'a'.
    CString s("ab\xC1\x61z");
    s.MakeUpper();
    EXPECT_EQ(s, "AB\xC1\x61Z");
    EXPECT_EQ(CString("\xC7\xBD\xC3\xE6").CompareNoCase("\xC7\xBD\xC3\xE6"), 0);
    CString r("a\xC7\xBD"
              "b");
    r.MakeReverse();
    EXPECT_EQ(r, "b\xC7\xBD"
                 "a");
}

TEST(CStringText, SubstringsClampToTheText) {
    const CString s("COM12");
    EXPECT_EQ(s.Mid(3), "12");
    EXPECT_EQ(s.Mid(4, 10), "2");
    EXPECT_EQ(s.Mid(9), "");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Right(2), "12");
    EXPECT_EQ(s.Find('M'), 2);
    EXPECT_EQ(s.Find("1", 4), -1);
    EXPECT_EQ(s.Find('C', 7), -1);
}

TEST(CStringText, FormatGrowsAsNeededAndBufferTakesLengthToTheFirstNul) {
    CString s;
    s.Format("%s-%d", std::string(300, 'x').c_str(), 42);
    EXPECT_EQ(s.GetLength(), 303);
    char* p = s.GetBuffer(10);
    p[0] = 'A';
    p[1] = '\0';
    s.ReleaseBuffer();
    EXPECT_EQ(s, "A");
}

TEST(CStringText, ReplaceAndTrim) {
    CString s("  a,,b  ");
    s.TrimLeft();
    s.TrimRight();
    EXPECT_EQ(s.Replace(",", ";;"), 2);
    EXPECT_EQ(s, "a;;;;b");
    EXPECT_EQ(s.Remove(';'), 4);
    EXPECT_EQ(s.Replace("", "x"), 0);
}
