#include "platform/gui/Font.h"
#include "platform/gui/Wnd.h"

#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstring>

TEST(AttachedControlFont, SetFontChangesTheWidgetAndGetFontAnswersTheHandle) {
    QWidget parent;
    auto* edit = new QLineEdit(&parent);
    CWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(edit));

    LOGFONT logFont{};
    logFont.lfHeight = -27;
    logFont.lfWeight = 700;
    std::strcpy(logFont.lfFaceName, "DejaVu Sans");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&logFont));
    wnd.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(font)), TRUE);
    EXPECT_EQ(edit->font().pixelSize(), 27);
    EXPECT_TRUE(edit->font().bold());
    EXPECT_EQ(wnd.GetFont(), &font);

    // No font (or a stale handle) gives the system font back rather than keeping the old one.
    wnd.SendMessage(WM_SETFONT, 0, FALSE);
    EXPECT_NE(edit->font().pixelSize(), 27);
    EXPECT_EQ(wnd.SendMessage(WM_GETFONT), 0);
    wnd.UnsubclassWindow();
}
