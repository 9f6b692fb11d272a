#include "platform/gui/base/GbkString.h"

#include <gtest/gtest.h>

TEST(GbkString, ChineseTextCrossesToQtAndBack) {
    const std::string gbk = "\xC7\xBD\xC3\xE6 A"; // "墙面 A"
    const QString shown = GbkToQString(gbk);
    EXPECT_EQ(shown, QString::fromUtf8("\xE5\xA2\x99\xE9\x9D\xA2 A"));
    EXPECT_EQ(QStringToGbk(shown), gbk);
}

TEST(GbkString, OneBadByteCostsOneReplacementCharacterOnly) {
    EXPECT_EQ(GbkToQString(std::string("ab\xFF"
                                       "cd")),
              QString::fromUtf8("ab\xEF\xBF\xBD"
                                "cd"));
    EXPECT_EQ(GbkToQString(std::string("\xC7\xBD\xC3")), QString::fromUtf8("\xE5\xA2\x99\xEF\xBF\xBD"));
}

TEST(GbkString, TextGbkCannotCarryGivesNoValue) {
    EXPECT_FALSE(QStringToGbk(QString::fromUtf8("\xF0\x9F\x98\x80")).has_value());
}

TEST(GbkString, AsciiCrossesUnchangedAndNextToChineseStillConverts) {
    EXPECT_EQ(GbkToQString(std::string("COM3 9600\t\x7F")), QString::fromLatin1("COM3 9600\t\x7F"));
    EXPECT_EQ(QStringToGbk(QString::fromLatin1("COM3 9600")), std::string("COM3 9600"));
    // A Latin-1 letter is no ASCII: it becomes GBK's two bytes for it, and the euro sign becomes byte 0x80.
    EXPECT_EQ(QStringToGbk(QString::fromLatin1("caf\xE9")), std::string("caf\xA8\xA6"));
    EXPECT_EQ(QStringToGbk(QString::fromUtf8("\xE2\x82\xAC")), std::string("\x80"));
    EXPECT_EQ(GbkToQString(std::string("\x80")), QString::fromUtf8("\xE2\x82\xAC"));
}
