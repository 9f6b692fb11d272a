#include "platform/gui/GbkString.h"

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
