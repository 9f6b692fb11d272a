#include "core/ErrorMessage.h"
#include "platform/os/Gbk.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

namespace {

std::string Utf8(const std::string& gbk) { return GbkToUtf8(gbk).value_or("<not GBK>"); }

} // namespace

TEST(ErrorMessages, EveryTabledCodeShowsItsTextWithItsIcon) {
    const struct {
        int code;
        const char* text;
        UINT style;
    } rows[] = {
        {-1, "发生错误！", MB_ICONERROR},
        {16, "串口发送数据出错！", MB_ICONERROR},
        {17, "Open uart is not success！", MB_ICONERROR},
        {32, "Please choose panel！", MB_ICONWARNING},
        {48, "到达上限！", MB_ICONINFORMATION},
        {49, "到达下限！", MB_ICONINFORMATION},
        {64, "参数非法！", MB_ICONERROR},
        {96, "地址范围出错！", MB_ICONERROR},
    };
    MessageBoxRecorder boxes;
    for (const auto& row : rows)
        EXPECT_EQ(ShowErrorMessage(row.code, ""), row.code);
    ASSERT_EQ(boxes.Boxes().size(), 8u);
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(Utf8(boxes.Boxes()[i].text), rows[i].text) << rows[i].code;
        EXPECT_EQ(boxes.Boxes()[i].type, rows[i].style) << rows[i].code;
    }
}

TEST(ErrorMessages, TheTextsAreHeldInGbk) {
    ASSERT_EQ(ErrorMessageTable().size(), 8u);
    EXPECT_EQ(ErrorMessageTable()[0].text, "\xB7\xA2\xC9\xFA\xB4\xED\xCE\xF3\xA3\xA1"); // 发生错误！
    EXPECT_EQ(ErrorMessageTable()[2].text, "Open uart is not success\xA3\xA1");
}

TEST(ErrorMessages, CodesOutsideTheTableShowNothing) {
    MessageBoxRecorder boxes;
    EXPECT_EQ(ShowErrorMessage(0, ""), 0);
    EXPECT_EQ(ShowErrorMessage(80, ""), 80);
    EXPECT_EQ(ShowErrorMessage(1, "prefix"), 1);
    EXPECT_EQ(ShowErrorMessage(-2, ""), -2);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(ErrorMessages, APrefixStandsDirectlyBeforeTheText) {
    MessageBoxRecorder boxes;
    EXPECT_EQ(ShowErrorMessage(16, "COM3: "), 16);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(Utf8(boxes.Boxes()[0].text), "COM3: 串口发送数据出错！");
    EXPECT_EQ(boxes.Boxes()[0].type, MB_ICONERROR);
}
