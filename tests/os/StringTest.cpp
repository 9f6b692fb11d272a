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

// A GBK trail byte can look like an ASCII letter or a backslash; comparisons and searches take whole characters.
TEST(CStringText, ComparisonsAndSearchesStepOverDoubleByteCharacters) {
    // 0x81 0x41 and 0x81 0x61 are two different characters, whatever their trail bytes look like.
    EXPECT_NE(CString("\x81\x41").CompareNoCase("\x81\x61"), 0);
    EXPECT_LT(CString("\x81\x41").CompareNoCase("\x81\x61"), 0);
    EXPECT_EQ(CString("Wall\x81\x41").CompareNoCase("wALL\x81\x41"), 0);
    EXPECT_GT(CString("ab").CompareNoCase("A"), 0);
    EXPECT_LT(CString("").CompareNoCase("\x81\x41"), 0);

    // 0x95 0x5C is one character whose trail byte is a backslash.
    const CString path("C:\x95\x5C\\b\x95\x5C");
    EXPECT_EQ(path.Find('\\'), 4);
    EXPECT_EQ(path.ReverseFind('\\'), 4);
    EXPECT_EQ(path.Find("\\b"), 4);
    EXPECT_EQ(path.Find("\x5C", 5), -1);
    EXPECT_EQ(path.FindOneOf("/\\"), 4);
    EXPECT_EQ(CString("\x81\x41"
                      "A")
                  .Find('A'),
              2);
    EXPECT_EQ(CString("\x81\x41"
                      "A")
                  .Find("A"),
              2);
    EXPECT_EQ(CString("\x81\x41"
                      "A")
                  .FindOneOf("\x81\x41"),
              0);
    EXPECT_EQ(CString("x\x81\x41").FindOneOf("\x41"), -1);
    // Editing by characters leaves the trail bytes alone too.
    CString edited("\x95\x5C\\\x81\x41"
                   "A");
    EXPECT_EQ(edited.Replace('\\', '/'), 1);
    EXPECT_EQ(edited, "\x95\x5C/\x81\x41"
                      "A");
    EXPECT_EQ(edited.Remove('A'), 1);
    EXPECT_EQ(edited, "\x95\x5C/\x81\x41");
    EXPECT_EQ(edited.Replace("\x5C/", "-"), 0);
    edited.TrimRight("A");
    EXPECT_EQ(edited, "\x95\x5C/\x81\x41");
    edited.TrimRight("\x81\x41/");
    EXPECT_EQ(edited, "\x95\x5C");
    edited.TrimLeft("\x5C");
    EXPECT_EQ(edited, "\x95\x5C");
    // A lead byte at the very end stands for itself.
    EXPECT_EQ(CString("a\x81").ReverseFind('\x81'), 1);
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
