#include "skin/MenuXP.h"
#include "skin/Hls.h"
#include "skin/MenuXPState.h"
#include "skin/WndMenuXP.h"

#include "platform/gui/draw/Bitmap.h"
#include "platform/gui/draw/Icon.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/frame/FrameWnd.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/frame/ToolBar.h"
#include "platform/gui/frame/WinApp.h"
#include "platform/gui/window/ClientDC.h"
#include "platform/gui/window/PaintDC.h"
#include "res/ResourceTables.h"
#include "tests/support/ToolBarPicture.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr COLORREF kBehind = RGB(40, 160, 220);
// The frame the pop-ups get: three lines around the items, and the shadow on the right and bottom.
constexpr int kFrame = 3;
constexpr int kShadow = 4;

QColor Q(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
QColor Sys(int index) { return Q(GetSysColor(index)); }
QColor Hls(int index, int l, int s) { return Q(HLSTransform(GetSysColor(index), l, s)); }
QColor Darkened(QColor c, int percent) {
    return QColor(c.red() * percent / 100, c.green() * percent / 100, c.blue() * percent / 100);
}

// Fills the frame's client area in one colour, so the screen behind a pop-up is known.
class BehindPane : public CWnd {
public:
    void OnPaint() override {
        CPaintDC dc(this);
        CRect rect;
        GetClientRect(&rect);
        dc.FillSolidRect(&rect, kBehind);
    }
};

// The main frame's part in the flat menus, as the program's frame plays it.
class XPFrame : public CFrameWnd {
public:
    // Nothing here handles the menus' commands; their items stay enabled all the same.
    XPFrame() { m_bAutoMenuEnable = FALSE; }

    int OnCreate(LPCREATESTRUCT cs) override {
        if (CFrameWnd::OnCreate(cs) == -1)
            return -1;
        EnableMenuXP(this, TRUE);
        UpdateFrameMenuXP(this);
        return 0;
    }
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext*) override {
        return m_pane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), this, AFX_IDW_PANE_FIRST);
    }
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) override {
        CFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
        ConvertMenuXP(this, pPopupMenu->m_hMenu, IsMenuXPEnabled(this), FALSE);
    }
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) override {
        if (!DrawMenuItemXP(lpDrawItemStruct, this))
            CFrameWnd::OnDrawItem(nIDCtl, lpDrawItemStruct);
    }
    void OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMeasureItemStruct) override {
        MeasureMenuItemXP(lpMeasureItemStruct);
    }
    LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu) override {
        if (IsOwnerDrawMenu(pMenu->m_hMenu))
            return MenuCharXP(pMenu->m_hMenu, nChar, nFlags);
        return CFrameWnd::OnMenuChar(nChar, nFlags, pMenu);
    }

    BehindPane m_pane;
};

class MenuXPTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterResourceTables();
        InstallMenuXPHook();
        m_frame = new XPFrame; // deletes itself with its window
        ASSERT_TRUE(m_frame->LoadFrame(128));
        m_app.m_pMainWnd = m_frame;
        m_frame->MoveWindow(60, 50, 520, 400);
        m_frame->ShowWindow(SW_SHOW);
        QWidget* host = m_frame->GetHostWidget();
        host->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(host));
    }
    void TearDown() override {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        m_frame->DestroyWindow();
        UninstallMenuXPHook();
        TheMenuXPState().barItemRect.SetRectEmpty();
    }

    QMenuBar* Bar() { return m_frame->GetMenuBarWidget(); }
    // Opens a pop-up of the menu bar with the mouse, as the operator does.
    QMenu* OpenBarPopup(int index) {
        QAction* item = Bar()->actions().at(index);
        QTest::mouseClick(Bar(), Qt::LeftButton, Qt::NoModifier, Bar()->actionGeometry(item).center());
        QMenu* popup = item->menu();
        if (!QTest::qWaitForWindowExposed(popup))
            return nullptr;
        QApplication::processEvents();
        return popup;
    }
    static int ItemHeight() {
        CClientDC dc(nullptr);
        dc.SelectStockObject(DEFAULT_GUI_FONT);
        TEXTMETRIC tm{};
        dc.GetTextMetrics(&tm);
        return std::max<int>(tm.tmHeight + 2, 16) + 4;
    }

    CWinApp m_app;
    XPFrame* m_frame = nullptr;
};

TEST_F(MenuXPTest, TheFramesBarItemsAreOwnerDrawnAndMeasuredFromTheirText) {
    CMenu* menu = m_frame->GetMenu();
    ASSERT_NE(nullptr, menu);
    CClientDC dc(nullptr);
    dc.SelectStockObject(DEFAULT_GUI_FONT);
    for (int i = 0; i < 2; ++i) {
        MENUITEMINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_TYPE | MIIM_DATA | MIIM_ID;
        ASSERT_TRUE(menu->GetMenuItemInfo(static_cast<UINT>(i), &info, TRUE));
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
        MEASUREITEMSTRUCT measure{ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
        MeasureMenuItemXP(&measure);
        CRect text(0, 0, 1000, 0);
        dc.DrawText(i == 0 ? "File(&F)" : "Config(&E)", -1, &text, DT_SINGLELINE | DT_CALCRECT);
        EXPECT_EQ(static_cast<UINT>(text.Width() + 4), measure.itemWidth);
        EXPECT_EQ(0u, measure.itemHeight);
        EXPECT_EQ(text.Width() + 4, Bar()->actionGeometry(Bar()->actions().at(i)).width());
    }
}

TEST_F(MenuXPTest, ABitmapItemOfAMenuBarIsLeftAsItIsAndAFrameWithoutTheLookIsNotConverted) {
    const auto ownerDrawn = [](CMenu& menu, UINT position) {
        MENUITEMINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_TYPE;
        return menu.GetMenuItemInfo(position, &info, TRUE) && (info.fType & MFT_OWNERDRAW);
    };
    CMenu bar;
    ASSERT_TRUE(bar.CreateMenu());
    bar.AppendMenu(MF_STRING, 750, "Text");
    bar.AppendMenu(MF_STRING, 751, "Picture");
    MENUITEMINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    info.fType = MFT_BITMAP;
    ASSERT_TRUE(bar.SetMenuItemInfo(751, &info));
    ConvertMenuXP(m_frame, bar.m_hMenu, TRUE, TRUE);
    EXPECT_TRUE(ownerDrawn(bar, 0));
    EXPECT_FALSE(ownerDrawn(bar, 1));
    // In a pop-up the same item is converted.
    ConvertMenuXP(m_frame, bar.m_hMenu, TRUE, FALSE);
    EXPECT_TRUE(ownerDrawn(bar, 1));

    auto* plain = new CFrameWnd; // deletes itself with its window
    ASSERT_TRUE(plain->LoadFrame(128));
    CMenu* menu = plain->GetMenu();
    ASSERT_NE(nullptr, menu);
    UpdateFrameMenuXP(plain);
    EXPECT_FALSE(ownerDrawn(*menu, 0));
    ConvertMenuXP(plain, menu->m_hMenu, FALSE, TRUE);
    EXPECT_FALSE(ownerDrawn(*menu, 0));
    plain->DestroyWindow();
}

TEST_F(MenuXPTest, APopupOfTheBarGetsTheFlatFrameItemColoursAndAShadowOfTheScreenBehind) {
    QMenu* popup = OpenBarPopup(1);
    ASSERT_NE(nullptr, popup);
    const int h = ItemHeight();
    // Five items, each as high as the font asks, inside the frame and the shadow.
    EXPECT_EQ(5 * h + 2 * kFrame + kShadow, popup->height());
    const QRect first = popup->actionGeometry(popup->actions().at(0));
    EXPECT_EQ(QPoint(kFrame, kFrame), first.topLeft());
    EXPECT_EQ(popup->width() - 2 * kFrame - kShadow, first.width());

    const QImage image = popup->grab().toImage();
    const int w = image.width();
    const int y = kFrame + h + h / 2; // the middle of the second item
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), image.pixelColor(0, y));
    EXPECT_EQ(Hls(COLOR_3DFACE, +75, 0), image.pixelColor(1, y));
    EXPECT_EQ(Hls(COLOR_3DFACE, +75, 0), image.pixelColor(2, y));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), image.pixelColor(w - kShadow - 1, y));
    EXPECT_EQ(Hls(COLOR_3DFACE, +75, 0), image.pixelColor(w - kShadow - 3, y));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), image.pixelColor(20, image.height() - kShadow - 1));
    // The image band, then the menu's background up to the caption.
    EXPECT_EQ(Hls(COLOR_3DFACE, +20, 0), image.pixelColor(kFrame + 2, y));
    EXPECT_EQ(Hls(COLOR_3DFACE, +20, 0), image.pixelColor(kFrame + 21, y));
    EXPECT_EQ(Hls(COLOR_3DFACE, +75, 0), image.pixelColor(kFrame + 22, y));
    EXPECT_EQ(Hls(COLOR_3DFACE, +75, 0), image.pixelColor(kFrame + 28, y));

    // The shadow darkens what lay behind: 93 percent outermost, 78 next to the menu.
    const QColor behind = Q(kBehind);
    EXPECT_EQ(Darkened(behind, 93), image.pixelColor(w - 1, y));
    EXPECT_EQ(Darkened(behind, 88), image.pixelColor(w - 2, y));
    EXPECT_EQ(Darkened(behind, 83), image.pixelColor(w - 3, y));
    EXPECT_EQ(Darkened(behind, 78), image.pixelColor(w - 4, y));
    EXPECT_EQ(Darkened(behind, 93), image.pixelColor(30, image.height() - 1));
    EXPECT_EQ(Darkened(behind, 78), image.pixelColor(30, image.height() - 4));
    // The corners beyond the taper show the screen unchanged.
    EXPECT_EQ(behind, image.pixelColor(w - 1, 2));
    EXPECT_EQ(behind, image.pixelColor(1, image.height() - 1));
    EXPECT_EQ(behind, image.pixelColor(w - 1, image.height() - 1));

    // Every pixel of the band is the captured screen, as it was or darkened by one of the four steps.
    CWndMenuXP* record = nullptr;
    for (auto& [window, xp] : TheMenuXPState().menuWindows)
        record = xp.get();
    ASSERT_NE(nullptr, record);
    ASSERT_NE(nullptr, record->GetCapture());
    const QImage capture = CBitmap::FromHandle(record->GetCapture())->GetImage();
    ASSERT_EQ(image.size(), capture.size());
    for (int py = 0; py < image.height(); ++py)
        for (int px = 0; px < w; ++px) {
            if (px < w - kShadow && py < image.height() - kShadow)
                continue;
            const QColor under = capture.pixelColor(px, py);
            const QColor shown = image.pixelColor(px, py);
            bool explained = shown == under;
            for (int f : {93, 88, 83, 78})
                explained = explained || shown == Darkened(under, f);
            EXPECT_TRUE(explained) << px << "," << py;
        }
}

TEST_F(MenuXPTest, TheSelectedItemIsFramedInTheHighlightAndFilledWithItsPaleShade) {
    QMenu* popup = OpenBarPopup(1);
    ASSERT_NE(nullptr, popup);
    const int h = ItemHeight();
    popup->setActiveAction(popup->actions().at(1));
    const int top = kFrame + h;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return popup->grab().toImage().pixelColor(kFrame + 5, top + h / 2) == Hls(COLOR_HIGHLIGHT, +70, -57); }));
    const QImage image = popup->grab().toImage();
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), image.pixelColor(kFrame, top + h / 2));
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), image.pixelColor(kFrame + 40, top));
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), image.pixelColor(kFrame + 40, top + h - 1));
    EXPECT_EQ(Hls(COLOR_HIGHLIGHT, +70, -57), image.pixelColor(kFrame + 25, top + 2));
    // The neighbours keep the band.
    EXPECT_EQ(Hls(COLOR_3DFACE, +20, 0), image.pixelColor(kFrame + 5, top - 3));
    EXPECT_EQ(Hls(COLOR_3DFACE, +20, 0), image.pixelColor(kFrame + 5, top + h + 3));
}

TEST_F(MenuXPTest, TheOpenBarItemIsFramedWithItsShadowAndJoinsThePopupBelow) {
    QMenu* popup = OpenBarPopup(1);
    ASSERT_NE(nullptr, popup);
    QAction* config = Bar()->actions().at(1);
    const QRect item = Bar()->actionGeometry(config);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Bar()->grab().toImage().pixelColor(item.left(), item.top() + 1) == Sys(COLOR_3DDKSHADOW); }));
    const QImage bar = Bar()->grab().toImage();
    const int midY = item.center().y();
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), bar.pixelColor(item.right() - 4, item.top() + 1));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), bar.pixelColor(item.left() + 5, item.bottom()));
    EXPECT_EQ(Hls(COLOR_3DFACE, +20, 0), bar.pixelColor(item.left() + 1, item.top() + 1));
    // The last 4 columns: the face, darkened below their first rows.
    EXPECT_EQ(Sys(COLOR_3DFACE), bar.pixelColor(item.right(), item.top() + 1));
    EXPECT_EQ(Darkened(Sys(COLOR_3DFACE), 93), bar.pixelColor(item.right(), midY));
    EXPECT_EQ(Darkened(Sys(COLOR_3DFACE), 78), bar.pixelColor(item.right() - 3, midY));

    // The remembered item is where the bar shows it, without its shadow.
    const QPoint topLeft = Bar()->mapToGlobal(item.topLeft());
    EXPECT_EQ(CRect(topLeft.x(), topLeft.y(), topLeft.x() + item.width() - 4, topLeft.y() + item.height()),
              TheMenuXPState().barItemRect);

    // The pop-up's top line opens into the item between the item's own dark sides.
    ASSERT_EQ(Bar()->mapToGlobal(QPoint(0, item.bottom())).y(), popup->y());
    const int dx = topLeft.x() - popup->x();
    const QImage image = popup->grab().toImage();
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), image.pixelColor(dx, 0));
    EXPECT_EQ(Hls(COLOR_3DFACE, +20, 0), image.pixelColor(dx + 1, 0));
    EXPECT_EQ(Hls(COLOR_3DFACE, +20, 0), image.pixelColor(dx + item.width() - 6, 0));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), image.pixelColor(dx + item.width() - 5, 0));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), image.pixelColor(image.width() - kShadow - 2, 0));
}

TEST_F(MenuXPTest, OnlyPopupsOpenedWhileAnEnabledFrameIsActiveAreRestyled) {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 700, "plain");
    QMenu* popup = menu.m_hMenu;
    const QSize natural = popup->sizeHint();
    popup->popup(QPoint(200, 200));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
    EXPECT_EQ(natural + QSize(2 * kFrame + kShadow, 2 * kFrame + kShadow), popup->size());
    popup->hide();
    EXPECT_TRUE(TheMenuXPState().menuWindows.empty());

    EnableMenuXP(m_frame, FALSE);
    EXPECT_FALSE(IsMenuXPEnabled(m_frame));
    popup->popup(QPoint(200, 200));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
    EXPECT_EQ(natural, popup->size());
    EXPECT_TRUE(TheMenuXPState().menuWindows.empty());
    popup->hide();

    // The hook is counted: it stays until the last removal.
    EnableMenuXP(m_frame, TRUE);
    InstallMenuXPHook();
    UninstallMenuXPHook();
    popup->popup(QPoint(200, 200));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
    EXPECT_EQ(natural + QSize(2 * kFrame + kShadow, 2 * kFrame + kShadow), popup->size());
    popup->hide();
    UninstallMenuXPHook();
    popup->popup(QPoint(200, 200));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
    EXPECT_EQ(natural, popup->size());
    popup->hide();
    UninstallMenuXPHook(); // one more than installed changes nothing
    InstallMenuXPHook();   // for TearDown
}

// A context menu carried by TrackPopupMenu, which the frame converts as it opens: its picture while shown, with
// the item at a position selected (none for -1).
QImage TrackAndGrab(CMenu& menu, CWnd* owner, int selected = -1) {
    QImage shown;
    const PopupMenuHandler previous = CMenu::SetPopupMenuHandler([&](CMenu& m, UINT, CPoint point, CWnd*) {
        m.m_hMenu->popup(QPoint(point.x, point.y));
        if (selected >= 0)
            m.m_hMenu->setActiveAction(m.m_hMenu->actions().at(selected));
        if (QTest::qWaitForWindowExposed(m.m_hMenu)) {
            QApplication::processEvents();
            shown = m.m_hMenu->grab().toImage();
        }
        m.m_hMenu->hide();
        return 0u;
    });
    menu.TrackPopupMenu(TPM_RETURNCMD, 150, 150, owner);
    CMenu::SetPopupMenuHandler(previous);
    return shown;
}

// How many pixels of a colour the image band and box of a pop-up item hold.
int CountInBand(const QImage& image, int top, int height, QColor colour) {
    int found = 0;
    for (int y = top; y < top + height; ++y)
        for (int x = kFrame; x < kFrame + 22; ++x)
            found += image.pixelColor(x, y) == colour ? 1 : 0;
    return found;
}

TEST_F(MenuXPTest, CheckedItemsGetTheirBoxAndMarkGreyedOrNot) {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING | MF_CHECKED | MF_GRAYED, 710, "Greyed check");
    menu.AppendMenu(MF_STRING | MF_CHECKED, 711, "Check");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, 712, "Radio");
    MENUITEMINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    info.fType = MFT_RADIOCHECK;
    info.fState = MFS_CHECKED;
    ASSERT_TRUE(menu.SetMenuItemInfo(712, &info));

    const QImage image = TrackAndGrab(menu, m_frame);
    ASSERT_FALSE(image.isNull());
    const int h = ItemHeight();
    CClientDC dc(nullptr);
    dc.SelectStockObject(DEFAULT_GUI_FONT);
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    const int separator = tm.tmHeight / 2 + 2;
    const int tops[] = {0, h, 2 * h + separator};
    const auto at = [&](int item, int x, int y) { return image.pixelColor(kFrame + x, kFrame + tops[item] + y); };
    // The box: a highlight frame over columns 1..19, filled in the item's shade.
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), at(0, 1, h / 2));
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), at(0, 19, h / 2));
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), at(0, 10, 1));
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), at(0, 10, h - 2));
    EXPECT_EQ(Hls(COLOR_3DFACE, +73, 0), at(0, 3, 2));
    EXPECT_EQ(Hls(COLOR_HIGHLIGHT, +70, -57), at(1, 3, 2));
    EXPECT_EQ(Hls(COLOR_HIGHLIGHT, +70, -57), at(2, 3, 2));
    // The marks: the check in the item's text colour, the radio dot in the menu text colour.
    const auto count = [&](int item, QColor colour) { return CountInBand(image, kFrame + tops[item], h, colour); };
    EXPECT_GT(count(0, Hls(COLOR_3DFACE, -18, 0)), 5);
    EXPECT_GT(count(1, Sys(COLOR_MENUTEXT)), 5);
    const int cx = (2 * 5 + 15) / 2;
    EXPECT_EQ(Sys(COLOR_MENUTEXT), at(2, cx, h / 2));
    EXPECT_EQ(Sys(COLOR_MENUTEXT), at(2, cx - 4, h / 2));
    EXPECT_EQ(Hls(COLOR_HIGHLIGHT, +70, -57), at(2, cx + 1, h / 2 + 2));
    // The separator: the band, and a line from x = 30 across its middle.
    const int middle = kFrame + 2 * h + separator / 2;
    EXPECT_EQ(Hls(COLOR_3DFACE, +20, 0), image.pixelColor(kFrame + 5, middle));
    EXPECT_EQ(Hls(COLOR_3DFACE, +75, 0), image.pixelColor(kFrame + 29, middle));
    EXPECT_EQ(Hls(COLOR_3DFACE, -18, 0), image.pixelColor(kFrame + 30, middle));
    EXPECT_EQ(Hls(COLOR_3DFACE, -18, 0), image.pixelColor(image.width() - kFrame - kShadow - 2, middle));
    EXPECT_EQ(Hls(COLOR_3DFACE, +75, 0), image.pixelColor(kFrame + 30, middle - 1));
}

// The leftmost and rightmost columns of an image's dark (text) pixels within a band of rows.
std::pair<int, int> TextColumns(const QImage& image, int top, int bottom, int xFrom, int xTo) {
    int left = xTo;
    int right = -1;
    for (int y = top; y < bottom; ++y)
        for (int x = xFrom; x < xTo; ++x)
            if (image.pixelColor(x, y).lightness() < 100) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

TEST_F(MenuXPTest, TheCaptionStartsThirtyPixelsInAndTheAcceleratorEndsTwelveBeforeTheRight) {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 760, "Go\tF12");
    menu.AppendMenu(MF_STRING, 761, "A much longer caption");
    const QImage image = TrackAndGrab(menu, m_frame);
    ASSERT_FALSE(image.isNull());
    const int h = ItemHeight();

    // The same texts drawn left- and right-aligned in a plain picture tell where their glyphs begin and end.
    QImage plain(100, h, QImage::Format_RGB32);
    plain.fill(Qt::white);
    CDC dc;
    ASSERT_TRUE(dc.AttachImage(&plain));
    dc.SelectStockObject(DEFAULT_GUI_FONT);
    CRect box(0, 0, 100, h);
    dc.DrawText("Go", -1, &box, DT_SINGLELINE | DT_VCENTER);
    const int captionInk = TextColumns(plain, 0, h, 0, 50).first;
    dc.DrawText("F12", -1, &box, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    const int accelInk = 100 - TextColumns(plain, 0, h, 50, 100).second;
    dc.DetachImage();

    const int itemRight = image.width() - kFrame - kShadow;
    const auto [left, right] = TextColumns(image, kFrame, kFrame + h, kFrame, itemRight);
    EXPECT_EQ(kFrame + 30 + captionInk, left);
    EXPECT_EQ(itemRight - 12 - accelInk, right);
}

constexpr UINT kBarId = 7101;
const ToolBarTemplate kBars[] = {{kBarId, 16, 15, {40001, 40002, 40003}}};

TEST_F(MenuXPTest, ItemsShowTheImagesOfTheFramesToolBarLiftedWhenSelectedAndAsAShadowWhenGreyed) {
    CResourceTable::AddToolBars(kBars);
    RegisterIconResource(kBarId, ThreeSquaresStrip());
    CToolBar bar;
    ASSERT_TRUE(bar.Create(m_frame));
    ASSERT_TRUE(bar.LoadToolBar(kBarId));
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 40001, "Open");
    menu.AppendMenu(MF_STRING | MF_GRAYED, 40002, "Save");
    menu.AppendMenu(MF_STRING | MF_CHECKED, 40003, "Print");

    const QImage image = TrackAndGrab(menu, m_frame, 0);
    ASSERT_FALSE(image.isNull());
    const int h = ItemHeight();
    const auto at = [&](int item, int x, int y) { return image.pixelColor(kFrame + x, kFrame + item * h + y); };
    const auto count = [&](int item, QColor colour) { return CountInBand(image, kFrame + item * h, h, colour); };
    // Selected: the image lifted to (2, 2) over its flat shadow at (4, 4).
    EXPECT_EQ(QColor(Qt::red), at(0, 5, 5));
    EXPECT_EQ(QColor(Qt::red), at(0, 14, 13));
    EXPECT_EQ(Hls(COLOR_HIGHLIGHT, +50, -66), at(0, 16, 10));
    EXPECT_EQ(Hls(COLOR_HIGHLIGHT, +50, -66), at(0, 10, 15));
    EXPECT_EQ(Hls(COLOR_HIGHLIGHT, +70, -57), at(0, 4, 4));
    // Greyed: only the shadow, at (3, 3).
    EXPECT_EQ(0, count(1, QColor(Qt::green)));
    EXPECT_EQ(Hls(COLOR_3DFACE, -27, 0), at(1, 6, 6));
    EXPECT_EQ(Hls(COLOR_3DFACE, -27, 0), at(1, 15, 14));
    EXPECT_EQ(Hls(COLOR_3DFACE, +20, 0), at(1, 5, 6));
    // Checked with an image: the box, and the image in place of the mark.
    EXPECT_EQ(QColor(Qt::blue), at(2, 6, 6));
    EXPECT_EQ(QColor(Qt::blue), at(2, 15, 14));
    EXPECT_EQ(Hls(COLOR_HIGHLIGHT, +70, -57), at(2, 3, 3));
    EXPECT_EQ(Sys(COLOR_HIGHLIGHT), at(2, 1, h / 2));
    EXPECT_EQ(0, count(2, Sys(COLOR_MENUTEXT)));
    bar.DestroyWindow();
}

TEST_F(MenuXPTest, ItemDataHoldsTheWidestCaptionAndAcceleratorWhole) {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    const std::string wide(60, 'W');
    menu.AppendMenu(MF_STRING, 720, ("&Go\t" + wide).c_str());
    menu.AppendMenu(MF_STRING, 721, "A longer caption\tF2");
    menu.AppendMenu(MF_STRING, 722, "X\tY");
    menu.AppendMenu(MF_SEPARATOR);
    ConvertMenuXP(m_frame, menu.m_hMenu, TRUE, FALSE);

    CClientDC dc(nullptr);
    dc.SelectStockObject(DEFAULT_GUI_FONT);
    const int accel = dc.GetTextExtent(wide.c_str(), static_cast<int>(wide.size())).cx;
    const int caption = dc.GetTextExtent("A longer caption", 16).cx;
    ASSERT_GT(accel, 255);
    for (UINT id : {720u, 721u, 722u}) {
        MENUITEMINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA | MIIM_TYPE;
        ASSERT_TRUE(menu.GetMenuItemInfo(id, &info));
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
        MEASUREITEMSTRUCT measure{ODT_MENU, 0, id, 0, 0, info.dwItemData};
        MeasureMenuItemXP(&measure);
        EXPECT_EQ(static_cast<UINT>(caption + 42 + accel), measure.itemWidth) << id;
        EXPECT_EQ(static_cast<UINT>(ItemHeight()), measure.itemHeight) << id;
    }
    MENUITEMINFO separator{};
    separator.cbSize = sizeof(separator);
    separator.fMask = MIIM_DATA;
    ASSERT_TRUE(menu.GetMenuItemInfo(3, &separator, TRUE));
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, 0u, 0, 0, separator.dwItemData};
    MeasureMenuItemXP(&measure);
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    EXPECT_EQ(static_cast<UINT>(tm.tmHeight / 2 + 2), measure.itemHeight);

    // Converting again leaves the items owner-drawn and packs the sizes anew.
    menu.AppendMenu(MF_STRING, 723, "An even longer caption than before");
    ConvertMenuXP(m_frame, menu.m_hMenu, TRUE, FALSE);
    MENUITEMINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    ASSERT_TRUE(menu.GetMenuItemInfo(720, &info));
    MEASUREITEMSTRUCT again{ODT_MENU, 0, 720u, 0, 0, info.dwItemData};
    MeasureMenuItemXP(&again);
    EXPECT_EQ(static_cast<UINT>(dc.GetTextExtent("An even longer caption than before", 34).cx + 42 + accel),
              again.itemWidth);
}

TEST_F(MenuXPTest, AMnemonicIsALetterAfterASingleAmpersandInEitherCase) {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 730, "Fish && chips");
    menu.AppendMenu(MF_STRING, 731, "&Open\tCtrl+O");
    menu.AppendMenu(MF_STRING, 732, "Save &as");
    menu.AppendMenu(MF_STRING, 733, "C\t&Z");
    ConvertMenuXP(m_frame, menu.m_hMenu, TRUE, FALSE);
    HMENU h = menu.m_hMenu;
    EXPECT_TRUE(IsOwnerDrawMenu(h));
    EXPECT_EQ(MAKELRESULT(1, MNC_EXECUTE), MenuCharXP(h, 'o', MF_POPUP));
    EXPECT_EQ(MAKELRESULT(1, MNC_EXECUTE), MenuCharXP(h, 'O', MF_POPUP));
    EXPECT_EQ(MAKELRESULT(2, MNC_EXECUTE), MenuCharXP(h, 'A', MF_POPUP));
    EXPECT_EQ(MAKELRESULT(2, MNC_EXECUTE), MenuCharXP(h, 'a', 0));
    // "&&" is an ampersand, not a mnemonic; the accelerator text is no caption.
    EXPECT_EQ(0, MenuCharXP(h, 'c', MF_POPUP));
    EXPECT_EQ(0, MenuCharXP(h, ' ', MF_POPUP));
    EXPECT_EQ(0, MenuCharXP(h, 'z', MF_POPUP));
    // The system menu gets no answer.
    EXPECT_EQ(0, MenuCharXP(h, 'o', MF_POPUP | MF_SYSMENU));
    EXPECT_EQ(0, MenuCharXP(h, 'o', MF_SYSMENU));

    CMenu plain;
    ASSERT_TRUE(plain.CreatePopupMenu());
    plain.AppendMenu(MF_STRING, 740, "&Plain");
    EXPECT_FALSE(IsOwnerDrawMenu(plain.m_hMenu));
    EXPECT_EQ(0, MenuCharXP(plain.m_hMenu, 'p', MF_POPUP)); // no text was remembered for it
}

} // namespace
