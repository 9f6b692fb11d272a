#include "platform/gui/frame/ToolBar.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Icon.h"
#include "platform/gui/draw/ImageList.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/frame/FrameWnd.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/window/PaintDC.h"
#include "tests/support/PointerMove.h"
#include "tests/support/ToolBarPicture.h"

#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT kBarId = 7001;
constexpr UINT kCmdOpen = 40001;
constexpr UINT kCmdSave = 40002;
constexpr UINT kCmdPrint = 40003;

const ToolBarTemplate kBars[] = {{kBarId, 16, 15, {kCmdOpen, kCmdSave, ID_SEPARATOR, kCmdPrint}}};

// A bar that answers the drop-down notification its frame reflects back to it.
class DropBar : public CToolBar {
public:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        auto* nm = reinterpret_cast<NMTOOLBAR*>(lParam);
        if (message != WM_NOTIFY || !nm || nm->hdr.code != TBN_DROPDOWN)
            return CToolBar::OnChildNotify(message, wParam, lParam, pResult);
        m_dropDowns.push_back(nm->iItem);
        *pResult = m_answer;
        return TRUE;
    }
    std::vector<int> m_dropDowns;
    LRESULT m_answer = TBDDRET_DEFAULT;
};

class BarFrame : public CFrameWnd {
public:
    BarFrame() {
        m_bAutoDelete = FALSE;
        for (UINT id : {kCmdOpen, kCmdSave, kCmdPrint})
            OnCommandId(id, [this, id]() { m_commands.push_back(id); });
    }
    int OnCreate(LPCREATESTRUCT cs) override {
        if (CFrameWnd::OnCreate(cs) == -1 || !m_bar.Create(this) || !m_bar.LoadToolBar(kBarId))
            return -1;
        return 0;
    }
    DropBar m_bar;
    std::vector<UINT> m_commands;
};

class ToolBarTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CResourceTable::AddToolBars(kBars);
        RegisterIconResource(kBarId, ThreeSquaresStrip());
    }
    void SetUp() override {
        ASSERT_TRUE(m_frame.LoadFrame(kBarId, WS_OVERLAPPEDWINDOW));
        m_frame.ShowWindow(SW_SHOW);
        m_frame.RecalcLayout();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_frame.GetHostWidget()));
    }
    CRect ItemRect(int index) {
        CRect rect;
        m_frame.m_bar.GetItemRect(index, &rect);
        return rect;
    }
    QWidget* Bar() { return m_frame.m_bar.GetHostWidget(); }
    void Click(int index, QPoint offset = QPoint(0, 0)) {
        const QPoint at = QPoint(ItemRect(index).CenterPoint().x, ItemRect(index).CenterPoint().y) + offset;
        QTest::mouseClick(Bar(), Qt::LeftButton, Qt::NoModifier, at);
    }

    BarFrame m_frame;
};

TEST_F(ToolBarTest, ButtonsFromTheTableLieInOneRowAtTheTopOfTheFrame) {
    CToolBar& bar = m_frame.m_bar;
    ASSERT_EQ(bar.SendMessage(TB_BUTTONCOUNT), 4);
    EXPECT_EQ(bar.GetItemID(1), kCmdSave);
    EXPECT_EQ(bar.CommandToIndex(kCmdPrint), 3);
    EXPECT_EQ(bar.CommandToIndex(12345), -1);

    TBBUTTON button{};
    ASSERT_TRUE(bar.SendMessage(TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&button)));
    EXPECT_EQ(button.fsStyle, TBSTYLE_SEP);
    EXPECT_EQ(button.idCommand, 0);
    EXPECT_FALSE(bar.SendMessage(TB_GETBUTTON, 4, reinterpret_cast<LPARAM>(&button)));

    // Buttons are the image plus 7 pixels, a separator 8 pixels, inside a 2-pixel border.
    EXPECT_EQ(ItemRect(0), CRect(2, 2, 25, 24));
    EXPECT_EQ(ItemRect(1), CRect(25, 2, 48, 24));
    EXPECT_EQ(ItemRect(2), CRect(48, 2, 56, 24));
    EXPECT_EQ(ItemRect(3), CRect(56, 2, 79, 24));

    CRect frameClient;
    m_frame.GetClientRect(&frameClient);
    CRect barRect;
    bar.GetWindowRect(&barRect);
    m_frame.ScreenToClient(&barRect);
    EXPECT_EQ(barRect.Width(), frameClient.Width());
    EXPECT_EQ(barRect.Height(), 26);

    auto images = reinterpret_cast<HIMAGELIST>(bar.SendMessage(TB_GETIMAGELIST));
    EXPECT_EQ(ImageList_GetImageCount(images), 3);
    TBBUTTONINFO info{sizeof(TBBUTTONINFO), TBIF_IMAGE | TBIF_COMMAND, 0, 0, 0, 0, 0, 0, nullptr, 0};
    EXPECT_EQ(bar.SendMessage(TB_GETBUTTONINFO, kCmdPrint, reinterpret_cast<LPARAM>(&info)), 3);
    EXPECT_EQ(info.iImage, 2);
    EXPECT_EQ(info.idCommand, static_cast<int>(kCmdPrint));
    EXPECT_EQ(bar.SendMessage(TB_GETBUTTONINFO, 99, reinterpret_cast<LPARAM>(&info)), -1);
    info.cbSize = 4;
    EXPECT_EQ(bar.SendMessage(TB_GETBUTTONINFO, kCmdPrint, reinterpret_cast<LPARAM>(&info)), -1);
    EXPECT_EQ(bar.SendMessage(TB_GETBUTTONINFO, kCmdPrint, 0), -1);
}

TEST_F(ToolBarTest, AHiddenButtonTakesNoRoomAndComesBackWhenShown) {
    CToolBar& bar = m_frame.m_bar;
    EXPECT_TRUE(bar.SendMessage(TB_HIDEBUTTON, kCmdSave, MAKELPARAM(TRUE, 0)));
    RECT rect{1, 1, 1, 1};
    EXPECT_FALSE(bar.SendMessage(TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rect)));
    EXPECT_TRUE(ItemRect(1).IsRectEmpty());
    EXPECT_EQ(ItemRect(3), CRect(33, 2, 56, 24));
    EXPECT_TRUE(bar.SendMessage(TB_GETSTATE, kCmdSave) & TBSTATE_HIDDEN);

    // Where the hidden button was, the button after the separator has moved in.
    QTest::mouseClick(Bar(), Qt::LeftButton, Qt::NoModifier, QPoint(36, 12));
    EXPECT_EQ(m_frame.m_commands, std::vector<UINT>{kCmdPrint});

    EXPECT_TRUE(bar.SendMessage(TB_HIDEBUTTON, kCmdSave, MAKELPARAM(FALSE, 0)));
    EXPECT_EQ(ItemRect(3), CRect(56, 2, 79, 24));
    EXPECT_FALSE(bar.SendMessage(TB_HIDEBUTTON, 12345, MAKELPARAM(TRUE, 0)));
}

TEST_F(ToolBarTest, ClicksSendTheButtonsCommandToTheFrame) {
    Click(0);
    Click(3);
    EXPECT_EQ(m_frame.m_commands, (std::vector<UINT>{kCmdOpen, kCmdPrint}));

    // Disabled buttons and separators send nothing; neither does a press released elsewhere.
    m_frame.m_bar.SendMessage(TB_SETSTATE, kCmdSave, MAKELPARAM(0, 0));
    Click(1);
    Click(2);
    QTest::mousePress(Bar(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_TRUE(m_frame.m_bar.SendMessage(TB_GETSTATE, kCmdOpen) & TBSTATE_PRESSED);
    QTest::mouseMove(Bar(), QPoint(60, 10));
    QTest::mouseRelease(Bar(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 10));
    EXPECT_FALSE(m_frame.m_bar.SendMessage(TB_GETSTATE, kCmdOpen) & TBSTATE_PRESSED);
    EXPECT_EQ(m_frame.m_commands, (std::vector<UINT>{kCmdOpen, kCmdPrint}));
}

TEST_F(ToolBarTest, TheHotItemFollowsTheMouse) {
    EXPECT_EQ(m_frame.m_bar.SendMessage(TB_GETHOTITEM), -1);
    ASSERT_TRUE(MovePointer(Bar(), QPoint(30, 10)));
    EXPECT_EQ(m_frame.m_bar.SendMessage(TB_GETHOTITEM), 1);
    ASSERT_TRUE(MovePointer(Bar(), QPoint(50, 10))); // the separator
    EXPECT_EQ(m_frame.m_bar.SendMessage(TB_GETHOTITEM), -1);
}

TEST_F(ToolBarTest, TheArrowOfADropDownButtonAsksTheBarFirst) {
    DropBar& bar = m_frame.m_bar;
    bar.SetButtonInfo(0, kCmdOpen, TBSTYLE_DROPDOWN, 0);
    m_frame.RecalcLayout();
    ASSERT_EQ(ItemRect(0), CRect(2, 2, 39, 24));
    const QPoint arrow(34, 12);

    QTest::mouseClick(Bar(), Qt::LeftButton, Qt::NoModifier, arrow);
    EXPECT_EQ(bar.m_dropDowns, std::vector<int>{static_cast<int>(kCmdOpen)});
    EXPECT_TRUE(m_frame.m_commands.empty());

    bar.m_answer = TBDDRET_TREATPRESSED;
    QTest::mouseClick(Bar(), Qt::LeftButton, Qt::NoModifier, arrow);
    EXPECT_EQ(m_frame.m_commands, std::vector<UINT>{kCmdOpen});
    // The body of the button is an ordinary button.
    QTest::mouseClick(Bar(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 12));
    EXPECT_EQ(bar.m_dropDowns.size(), 2u);
    EXPECT_EQ(m_frame.m_commands.size(), 2u);
}

// A bar that, like the skin's, leaves out separators that carry a command id while it lays out vertically.
class FilteringBar : public CToolBar {
public:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        const LRESULT result = CToolBar::DefWindowProc(message, wParam, lParam);
        auto* button = reinterpret_cast<TBBUTTON*>(lParam);
        if (message == TB_GETBUTTON && result && m_inLayout && (button->fsStyle & TBSTYLE_SEP) && button->idCommand)
            button->fsState |= TBSTATE_HIDDEN;
        return result;
    }
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override {
        m_inLayout = true;
        const CSize size = CToolBar::CalcDynamicLayout(nLength, dwMode);
        m_inLayout = false;
        return size;
    }
    bool m_inLayout = false;
};

TEST(ToolBarLayout, TheLayoutReadsTheBarThroughTheWindowProcedureAndCommitsOnlyWhenAsked) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 300, 200), nullptr, 0));
    FilteringBar bar;
    ASSERT_TRUE(bar.Create(&parent));
    const UINT ids[] = {kCmdOpen, ID_SEPARATOR, kCmdSave};
    ASSERT_TRUE(bar.SetButtons(ids, 3));
    bar.SetButtonInfo(1, 555, TBSTYLE_SEP, 40); // a separator that carries a 40-pixel control

    EXPECT_EQ(bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK), CSize(2 + 23 + 23 + 2, 26));
    EXPECT_EQ(bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_STRETCH).cx, 32767);
    // Until a layout is committed the buttons keep the places they were given.
    EXPECT_EQ(bar.SendMessage(TB_BUTTONCOUNT), 3);
    CRect rect;
    bar.GetItemRect(2, &rect);
    EXPECT_EQ(rect, CRect(65, 2, 88, 24));

    EXPECT_EQ(bar.CalcDynamicLayout(-1, LM_VERTDOCK | LM_COMMIT), CSize(2 + 23 + 2, 2 + 22 + 22 + 2));
    bar.GetItemRect(2, &rect);
    EXPECT_EQ(rect, CRect(2, 24, 25, 46));
    TBBUTTON button{};
    bar.SendMessage(TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&button));
    EXPECT_TRUE(button.fsState & TBSTATE_WRAP);
    EXPECT_FALSE(button.fsState & TBSTATE_HIDDEN);
}

// A bar that draws itself: the default painting does not run under it.
class SelfPaintingBar : public CToolBar {
public:
    void OnPaint() override {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, RGB(1, 2, 3));
    }
};

TEST_F(ToolBarTest, DefaultPaintingShowsTheImagesOverTheFaceAndADerivedBarReplacesIt) {
    m_frame.m_bar.UpdateWindow();
    QImage* image = m_frame.m_bar.GetClientImage();
    ASSERT_NE(image, nullptr);
    const CRect first = ItemRect(0);
    // The image is centred: its 16x15 square starts 3 and 3 pixels inside the 23x22 button.
    const int left = first.left + 3;
    const int top = first.top + 3;
    EXPECT_EQ(image->pixelColor(left + 8, top + 7), QColor(Qt::red));
    EXPECT_EQ(image->pixelColor(ItemRect(3).left + 3 + 8, top + 7), QColor(Qt::blue));
    // The grey around the square is transparent: the face shows.
    EXPECT_EQ(image->pixel(left + 1, top + 1) & 0xFFFFFF, ToQRgb(GetSysColor(COLOR_BTNFACE)) & 0xFFFFFF);

    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 40), nullptr, 0));
    SelfPaintingBar own;
    ASSERT_TRUE(own.Create(&parent));
    ASSERT_TRUE(own.LoadToolBar(kBarId));
    own.MoveWindow(0, 0, 200, 26);
    own.UpdateWindow();
    ASSERT_NE(own.GetClientImage(), nullptr);
    EXPECT_EQ(own.GetClientImage()->pixelColor(10, 10), QColor(1, 2, 3));
}

TEST(ToolBarResources, LoadingFailsWithoutATableOrAPicture) {
    static const ToolBarTemplate noPicture[] = {{7002, 16, 15, {kCmdOpen}}};
    CResourceTable::AddToolBars(noPicture);
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 100, 40), nullptr, 0));
    CToolBar bar;
    ASSERT_TRUE(bar.Create(&parent));
    EXPECT_FALSE(bar.LoadToolBar(7003));
    EXPECT_FALSE(bar.LoadToolBar(7002));
    EXPECT_EQ(bar.GetCount(), 0);
    EXPECT_FALSE(bar.SetButtons(nullptr, 2));
    EXPECT_FALSE(bar.SetButtons(nullptr, -1));
}

} // namespace
