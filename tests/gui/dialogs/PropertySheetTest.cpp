#include "platform/gui/dialogs/PropertySheet.h"
#include "platform/gui/dialogs/PropertyPage.h"

#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr DWORD kPage = WS_CHILD;
constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

const DlgTemplate kPages[] = {
    {9101, "VIDEO", 300, 120, kPage, {{1082, DlgItemKind::PushButton, "Up", 10, 10, 60, 24, kButton}}},
    {9102, "VGA/DVI", 320, 140, kPage, {{1082, DlgItemKind::PushButton, "Auto", 10, 10, 60, 24, kButton}}},
    {9103, "\xE7\x9F\xA9\xE9\x98\xB5", 200, 100, kPage, {{1082, DlgItemKind::Static, "x", 10, 10, 60, 24, WS_VISIBLE}}},
};

class CountingPage : public CPropertyPage {
public:
    explicit CountingPage(UINT id) : CPropertyPage(id) {
        OnCommandId(1082, [this]() { ++clicks; });
    }
    BOOL OnInitDialog() override {
        ++inits;
        return CPropertyPage::OnInitDialog();
    }
    int inits = 0;
    int clicks = 0;
};

class PropertySheetTest : public testing::Test {
protected:
    void SetUp() override {
        CResourceTable::AddDialogs(kPages);
        ASSERT_TRUE(m_owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPED, CRect(0, 0, 500, 400), nullptr, 0));
        m_sheet.AddPage(&m_video);
        m_sheet.AddPage(&m_vga);
        m_sheet.AddPage(&m_matrix);
        ASSERT_TRUE(m_sheet.Create(&m_owner, WS_CHILD | WS_VISIBLE, 0));
    }

    CWnd m_owner;
    CountingPage m_video{9101};
    CountingPage m_vga{9102};
    CountingPage m_matrix{9103};
    CPropertySheet m_sheet;
};

} // namespace

TEST_F(PropertySheetTest, APageIsBuiltOnlyWhenItsTabIsFirstShown) {
    EXPECT_EQ(m_video.inits, 1);
    EXPECT_EQ(m_vga.inits, 0);
    EXPECT_EQ(m_vga.m_hWnd, nullptr);
    EXPECT_EQ(m_matrix.GetDlgItem(1082), nullptr);

    m_sheet.GetTabWidget()->setCurrentIndex(1); // the operator picks the tab
    EXPECT_EQ(m_vga.inits, 1);
    ASSERT_NE(m_vga.GetDlgItem(1082), nullptr);
    m_sheet.SetActivePage(0);
    m_sheet.SetActivePage(&m_vga);
    EXPECT_EQ(m_vga.inits, 1); // once only
    EXPECT_EQ(m_sheet.GetActivePage(), &m_vga);

    // Each page's controls report to their own page, though their ids are the same.
    QTest::mouseClick(m_vga.GetDlgItem(1082)->GetHostWidget(), Qt::LeftButton);
    EXPECT_EQ(m_vga.clicks, 1);
    EXPECT_EQ(m_video.clicks, 0);
}

TEST_F(PropertySheetTest, TabsCarryThePageCaptionsInOrderAndTheSheetFitsTheLargestPage) {
    QTabWidget* tabs = m_sheet.GetTabWidget();
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), "VIDEO");
    EXPECT_EQ(tabs->tabText(1), "VGA/DVI");
    EXPECT_EQ(tabs->tabText(2), QString::fromUtf8("\xE7\x9F\xA9\xE9\x98\xB5"));
    EXPECT_EQ(m_matrix.GetCaption(), "\xBE\xD8\xD5\xF3"); // GBK
    EXPECT_GE(tabs->width(), 320);
    EXPECT_GE(tabs->height(), 140 + tabs->tabBar()->height());
}

TEST_F(PropertySheetTest, EveryPageFillsTheTabAreaOfTheLargest) {
    m_sheet.SetActivePage(2);
    m_owner.ShowWindow(SW_SHOW);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_owner.GetHostWidget()));
    QTabWidget* tabs = m_sheet.GetTabWidget();
    for (int i = 0; i < 3; ++i) {
        m_sheet.SetActivePage(i);
        const QWidget* page = m_sheet.GetPage(i)->GetHostWidget();
        EXPECT_EQ(page->size(), tabs->widget(i)->size()) << i;
        EXPECT_GE(page->width(), 320) << i;
        EXPECT_GE(page->height(), 140) << i;
    }
}

TEST_F(PropertySheetTest, DisablingTheSheetDisablesEveryPageAlsoOnesBuiltLater) {
    m_sheet.EnableWindow(FALSE);
    EXPECT_FALSE(m_video.GetDlgItem(1082)->GetHostWidget()->isEnabled());
    EXPECT_TRUE(m_video.GetDlgItem(1082)->IsWindowEnabled()); // its own state, as on the platform
    EXPECT_FALSE(m_sheet.GetTabWidget()->tabBar()->isEnabled());
    m_sheet.SetActivePage(1);
    EXPECT_FALSE(m_vga.GetDlgItem(1082)->GetHostWidget()->isEnabled());
    QTest::mouseClick(m_vga.GetDlgItem(1082)->GetHostWidget(), Qt::LeftButton);
    EXPECT_EQ(m_vga.clicks, 0);

    m_sheet.EnableWindow(TRUE);
    EXPECT_TRUE(m_vga.GetDlgItem(1082)->GetHostWidget()->isEnabled());
}

TEST(PropertySheetPlacement, TheSheetMovesToAPlaceHoldersCornerKeepingItsSize) {
    static const DlgTemplate banner[] = {
        {9104, "", 600, 300, WS_CHILD, {{1051, DlgItemKind::TabControl, "", 30, 50, 100, 60, WS_VISIBLE}}},
        {9105, "Page", 200, 100, WS_CHILD, {}},
    };
    CResourceTable::AddDialogs(banner);
    CDialog form(9104);
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPED, CRect(0, 0, 700, 400), nullptr, 0));
    ASSERT_TRUE(form.Create(9104, &owner));
    CPropertyPage page(9105);
    CPropertySheet sheet;
    sheet.AddPage(&page);
    ASSERT_TRUE(sheet.Create(&form, WS_CHILD | WS_VISIBLE, 0));
    sheet.ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    sheet.ModifyStyle(0, WS_TABSTOP);

    CRect before, place;
    sheet.GetWindowRect(&before);
    form.GetDlgItem(1051)->GetWindowRect(&place);
    form.ScreenToClient(&place);
    sheet.SetWindowPos(nullptr, place.left, place.top, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    CRect after;
    sheet.GetWindowRect(&after);
    form.ScreenToClient(&after);
    EXPECT_EQ(after.TopLeft(), CPoint(30, 50));
    EXPECT_EQ(after.Size(), before.Size());
    EXPECT_TRUE(sheet.GetExStyle() & WS_EX_CONTROLPARENT);
    EXPECT_TRUE(sheet.GetStyle() & WS_TABSTOP);
}

TEST_F(PropertySheetTest, AButtonWithTheOkIdOnAPageLeavesThePageInPlace) {
    static const DlgTemplate page[] = {
        {9106, "OK page", 200, 100, WS_CHILD, {{IDOK, DlgItemKind::PushButton, "OK", 10, 10, 60, 24, kButton}}}};
    CResourceTable::AddDialogs(page);
    CPropertyPage okPage(9106);
    m_sheet.AddPage(&okPage);
    ASSERT_TRUE(m_sheet.SetActivePage(&okPage));
    m_owner.ShowWindow(SW_SHOW);
    QTest::mouseClick(okPage.GetDlgItem(IDOK)->GetHostWidget(), Qt::LeftButton);
    EXPECT_TRUE(okPage.GetHostWidget()->isVisible());
    m_sheet.RemovePage(m_sheet.GetPageIndex(&okPage));
    EXPECT_EQ(m_sheet.GetPageCount(), 3);
    EXPECT_EQ(okPage.m_hWnd, nullptr);
}
