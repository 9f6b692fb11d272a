#include "skin/BitmapMenu.h"
#include "skin/IconButton.h"

#include "platform/gui/dialogs/Dialog.h"
#include "platform/gui/draw/Bitmap.h"
#include "platform/gui/draw/Icon.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/frame/Registry.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/window/ClientDC.h"
#include "platform/gui/window/SystemMetrics.h"
#include "platform/os/RuntimeClass.h"
#include "res/ResourceTables.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolBarPicture.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

QColor Q(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
QColor Sys(int index) { return Q(GetSysColor(index)); }

// The shared image list lives for the run: each test keeps its images under commands of its own.
constexpr UINT kBar = 7201;
constexpr UINT kFlatBar = 7202;
const ToolBarTemplate kBars[] = {{kBar, 16, 15, {40001, 0, 40002, 40003}}, {kFlatBar, 16, 15, {41001}}};

class BitmapMenuTest : public testing::Test {
protected:
    void SetUp() override { RegisterResourceTables(); }
    void TearDown() override { CBitmapMenu::SetOSVersionCodeForTest(0); }

    // The width a text takes in the DC the menus measure with.
    static LONG TextWidth(const std::u16string& text) {
        CClientDC dc(nullptr);
        SIZE size{0, 0};
        GetTextExtentPoint32W(dc.m_hDC, text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    static MEASUREITEMSTRUCT Measure(CBitmapMenu& menu, int position) {
        MENUITEMINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA | MIIM_ID;
        menu.GetMenuItemInfo(static_cast<UINT>(position), &info, TRUE);
        MEASUREITEMSTRUCT measure{ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
        menu.MeasureItem(&measure);
        return measure;
    }
    // Draws one item of the menu into an image of the item's size.
    static QImage Draw(CBitmapMenu& menu, int position, UINT state, int width = 140, int height = 22) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        CDC dc;
        dc.AttachImage(&image);
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_MENU;
        draw.itemID = menu.GetMenuItemID(position);
        draw.itemState = state;
        draw.hwndItem = reinterpret_cast<HWND>(menu.m_hMenu);
        draw.hDC = dc.m_hDC;
        draw.rcItem = RECT{0, 0, width, height};
        draw.itemData = reinterpret_cast<UINT_PTR>(menu.GetRecord(position));
        menu.DrawItem(&draw);
        dc.DetachImage();
        return image;
    }
};

} // namespace

TEST_F(BitmapMenuTest, TheSystemVersionGivesTheCodes) {
    struct Case {
        DWORD version;
        bool known;
        DWORD major;
        DWORD minor;
        int code;
    };
    const Case cases[] = {
        {0x80000003, true, 3, 10, 0}, {0x80000A04, true, 4, 10, 3}, {0x80005A04, true, 4, 90, 4},
        {0x80000004, true, 4, 0, 2},  {0x80000A04, false, 0, 0, 2}, {0x00000004, true, 4, 0, 5},
        {0x00000005, true, 5, 0, 6},  {0x00000105, true, 5, 1, 7},  {0x00000205, true, 5, 2, 1},
        {0x1DB10106, true, 6, 1, 1},  {0x0000000A, true, 10, 0, 1}, {0x00000105, false, 0, 0, 1},
    };
    for (const Case& c : cases) {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof(info);
        info.dwMajorVersion = c.major;
        info.dwMinorVersion = c.minor;
        info.dwPlatformId = (c.version & 0x80000000) ? VER_PLATFORM_WIN32_WINDOWS : VER_PLATFORM_WIN32_NT;
        EXPECT_EQ(CBitmapMenu::OSVersionCodeOf(c.version, c.known ? &info : nullptr), c.code)
            << std::hex << c.version << " " << c.major << "." << c.minor;
    }
    // This system reports a later version: the three-dimensional look, and no menu font while measuring.
    EXPECT_EQ(CBitmapMenu::GetOSVersionCode(), 1);
    EXPECT_EQ(CBitmapMenu::GetEffectiveDrawMode(), CBitmapMenu::kDraw3D);
}

TEST_F(BitmapMenuTest, OnlyAThemeFileEndingInTheClassicNameIsTheClassicTheme) {
    EXPECT_TRUE(CBitmapMenu::IsClassicThemeFile("C:\\WINDOWS\\Resources\\Themes\\Windows Classic.theme"));
    EXPECT_TRUE(CBitmapMenu::IsClassicThemeFile("d:\\themes\\WINDOWS CLASSIC.THEME"));
    EXPECT_TRUE(CBitmapMenu::IsClassicThemeFile("Windows Classic.theme"));
    EXPECT_FALSE(CBitmapMenu::IsClassicThemeFile("C:\\WINDOWS\\Resources\\Themes\\Luna.theme"));
    EXPECT_FALSE(CBitmapMenu::IsClassicThemeFile("Windows Classic.theme.bak"));
    EXPECT_FALSE(CBitmapMenu::IsClassicThemeFile("Classic.theme"));
    EXPECT_FALSE(CBitmapMenu::IsClassicThemeFile(""));
    EXPECT_FALSE(CBitmapMenu::IsClassicThemeFile(nullptr));
}

// The answer is read once per run, so each case runs in a process of its own.
TEST_F(BitmapMenuTest, TheThemeIsReadFromTheRegistryOnceAndIsNotClassicWithoutTheKey) {
    TempDir dir;
    SetRegistryFile(dir.File("registry.ini"));
    auto classicAfter = [](bool writeFirst) {
        auto write = [] {
            HKEY key = nullptr;
            RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Microsoft\\Plus!\\Themes\\Current", 0, nullptr, 0, KEY_WRITE,
                           nullptr, &key, nullptr);
            const char theme[] = "C:\\WINDOWS\\Resources\\Themes\\Windows Classic.theme";
            RegSetValueEx(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(theme), sizeof(theme));
            RegCloseKey(key);
        };
        if (writeFirst)
            write();
        const BOOL first = CBitmapMenu::IsClassicTheme();
        write();
        // A change during the run is not seen.
        std::exit(CBitmapMenu::IsClassicTheme() == first ? (first ? 1 : 2) : 3);
    };
    testing::FLAGS_gtest_death_test_style = "fast";
    EXPECT_EXIT(classicAfter(false), testing::ExitedWithCode(2), "");
    EXPECT_EXIT(classicAfter(true), testing::ExitedWithCode(1), "");
    SetRegistryFile("");
}

TEST_F(BitmapMenuTest, TheShortcutSearchFindsTheFirstItemWithTheCharacterAfterASingleAmpersand) {
    CBitmapMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendODMenu(u"&Open", MF_STRING, 100);
    menu.AppendODMenu(u"Salt && &Pepper", MF_STRING, 101);
    menu.AppendODMenu(nullptr, MF_STRING, 0);
    menu.AppendODMenu(u"Save &As...\tF12", MF_STRING, 102);
    menu.AppendODMenu(u"&Again", MF_STRING, 103);
    const auto position = [&](UINT c, UINT flags = MF_POPUP) {
        const LRESULT found = CBitmapMenu::FindKeyboardShortcut(c, flags, &menu);
        EXPECT_TRUE(found == 0 || HIWORD(static_cast<uint32_t>(found)) == MNC_EXECUTE);
        return found ? static_cast<int>(LOWORD(static_cast<uint32_t>(found))) : -1;
    };
    EXPECT_EQ(position('o'), 0);
    EXPECT_EQ(position('O'), 0);
    EXPECT_EQ(position('a'), 3); // not "&& " of item 1; "Save &As" before "&Again"
    EXPECT_EQ(position('A'), 3);
    EXPECT_EQ(position('p'), 1);
    EXPECT_EQ(position(' '), -1);
    EXPECT_EQ(position('x'), -1);
    EXPECT_EQ(position('o', 0), -1); // only for a pop-up
    CMenu plain;
    ASSERT_TRUE(plain.CreatePopupMenu());
    plain.AppendMenu(MF_STRING, 1, "&Open");
    EXPECT_EQ(CBitmapMenu::FindKeyboardShortcut('o', MF_POPUP, &plain), 0);

    // An item added behind the menu's back is taken in before the search.
    menu.AppendMenu(MF_STRING, 104, "&Zoom");
    EXPECT_EQ(position('z'), 5);
    EXPECT_EQ(menu.GetRecordCount(), 6);
}

TEST_F(BitmapMenuTest, SynchronisingKeepsTheRecordsOfItemsFoundAgainAndOwnerDrawsTheRest) {
    CBitmapMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendODMenu(u"&Open", MF_STRING, 100);
    menu.AppendODMenu(nullptr, MF_STRING, 0);
    menu.AppendODMenu(u"&Close", MF_STRING, 101);
    CBitmapMenuData* open = menu.GetRecord(0);
    CBitmapMenuData* close = menu.GetRecord(2);
    menu.RemoveMenu(0, MF_BYPOSITION);
    menu.AppendMenu(MF_STRING | MF_GRAYED, 102, "&Print");
    menu.AppendMenu(MF_SEPARATOR);
    menu.SynchronizeMenu();
    ASSERT_EQ(menu.GetRecordCount(), 4);
    EXPECT_EQ(menu.GetRecord(1), close);
    EXPECT_NE(menu.GetRecord(0), open);
    EXPECT_TRUE(menu.GetRecord(0)->m_flags & MF_SEPARATOR);
    EXPECT_TRUE(menu.GetRecord(3)->m_flags & MF_SEPARATOR);
    CString text;
    ASSERT_TRUE(menu.GetMenuText(2, text));
    EXPECT_EQ(text, "&Print");
    ASSERT_TRUE(menu.GetMenuText(101, text, MF_BYCOMMAND));
    EXPECT_EQ(text, "&Close");
    for (UINT i = 0; i < 4; ++i) {
        EXPECT_TRUE(menu.GetMenuState(i, MF_BYPOSITION) & MF_OWNERDRAW) << i;
        MENUITEMINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        menu.GetMenuItemInfo(i, &info, TRUE);
        EXPECT_EQ(info.dwItemData, reinterpret_cast<UINT_PTR>(menu.GetRecord(static_cast<int>(i)))) << i;
    }
    EXPECT_TRUE(menu.GetMenuState(2, MF_BYPOSITION) & MF_GRAYED);
}

TEST_F(BitmapMenuTest, AMenuLoadedFromTheTablesHasPlainBarItemsAndBitmapMenuPopups) {
    auto* menu = new CBitmapMenu;
    ASSERT_TRUE(menu->LoadMenu(128));
    EXPECT_FALSE(menu->LoadMenu(4242));
    ASSERT_TRUE(menu->LoadMenu(128));
    ASSERT_EQ(menu->GetMenuItemCount(), 2u);
    CString text;
    menu->GetMenuString(1, text, MF_BYPOSITION);
    EXPECT_EQ(text, "Config(&E)");
    MENUITEMINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_TYPE;
    menu->GetMenuItemInfo(1, &info, TRUE);
    EXPECT_EQ(info.fType & MFT_OWNERDRAW, 0u);
    CMenu* config = menu->GetSubMenu(1);
    ASSERT_NE(config, nullptr);
    ASSERT_TRUE(config->IsKindOf(RUNTIME_CLASS(CBitmapMenu)));
    EXPECT_TRUE(CBitmapMenu::IsMenuHandle(config->m_hMenu));
    EXPECT_TRUE(CBitmapMenu::IsMenuObject(config));
    EXPECT_FALSE(CBitmapMenu::IsMenuHandle(nullptr));
    auto* popup = static_cast<CBitmapMenu*>(config);
    ASSERT_EQ(popup->GetRecordCount(), 5);
    EXPECT_TRUE(popup->GetMenuState(0, MF_BYPOSITION) & MF_OWNERDRAW);
    ASSERT_TRUE(popup->GetMenuText(1033, text, MF_BYCOMMAND));
    EXPECT_EQ(text, "LCD WALL...(&u)");
    int position = -1;
    EXPECT_EQ(menu->FindMenuItem(1033, position), popup);
    EXPECT_EQ(position, 1);
    EXPECT_EQ(menu->FindMenuItem(4242, position), nullptr);

    // A button answers WM_MENUCHAR for a pop-up of a bitmap menu.
    static const DlgTemplate kDialog[] = {
        {9803, "Menu", 200, 100, WS_POPUP, {{1, DlgItemKind::PushButton, "Go", 5, 5, 50, 20, WS_VISIBLE}}}};
    CResourceTable::AddDialogs(kDialog);
    CDialog dialog(9803);
    ASSERT_TRUE(dialog.Create(9803));
    CIconButton button;
    ASSERT_TRUE(button.SubclassDlgItem(1, &dialog));
    EXPECT_EQ(button.SendMessage(WM_MENUCHAR, MAKEWPARAM('m', MF_POPUP), reinterpret_cast<LPARAM>(popup->m_hMenu)),
              MAKELRESULT(2, MNC_EXECUTE));

    const HMENU handle = config->m_hMenu;
    delete menu;
    EXPECT_FALSE(CBitmapMenu::IsMenuHandle(handle));
}

TEST_F(BitmapMenuTest, SpacesLineTheAcceleratorsUp) {
    CBitmapMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendODMenu(u"O\tCtrl+O", MF_STRING, 100);
    menu.AppendODMenu(u"Save everything\tF12", MF_STRING, 101);
    menu.AppendODMenu(u"Plain", MF_STRING, 102);
    menu.InsertSpaces();
    const std::u16string first = menu.GetRecord(0)->m_text;
    const std::u16string second = menu.GetRecord(1)->m_text;
    const LONG wide = TextWidth(second.substr(0, second.find(u'\t')));
    const LONG padded = TextWidth(first.substr(0, first.find(u'\t')));
    EXPECT_EQ(second, u"Save everything\tF12");
    EXPECT_GE(padded, wide);
    EXPECT_LT(padded - wide, TextWidth(u" ") + 1);
    EXPECT_EQ(first.substr(first.find(u'\t')), u"\tCtrl+O");
    EXPECT_EQ(menu.GetRecord(2)->m_text, u"Plain");
}

TEST_F(BitmapMenuTest, ItemsAreMeasuredForTheLookInUse) {
    CBitmapMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendODMenu(u"Connect...", MF_STRING, 100);
    menu.AppendODMenu(nullptr, MF_STRING, 0);
    const int menuHeight = GetSystemMetrics(SM_CYMENU);
    // The three-dimensional look: two image widths and a pixel beside the text, 4 pixels of gap.
    MEASUREITEMSTRUCT item = Measure(menu, 0);
    EXPECT_EQ(item.itemWidth, static_cast<UINT>(2 * 16 + 1 + TextWidth(u"Connect...")));
    EXPECT_EQ(item.itemHeight, static_cast<UINT>(std::max(15 + 4, menuHeight)));
    MEASUREITEMSTRUCT separator = Measure(menu, 1);
    EXPECT_EQ(separator.itemWidth, 0u);
    EXPECT_EQ(separator.itemHeight, static_cast<UINT>(std::max((15 + 4) / 2, menuHeight / 2)));

    // The flat look of a themed desktop: one image width, 8 pixels and a gap of 7.
    CBitmapMenu::SetOSVersionCodeForTest(7);
    ASSERT_EQ(CBitmapMenu::GetEffectiveDrawMode(), CBitmapMenu::kDrawXP);
    item = Measure(menu, 0);
    EXPECT_EQ(item.itemWidth, static_cast<UINT>(16 + TextWidth(u"Connect...") + 8 + 7));
    EXPECT_EQ(item.itemHeight, static_cast<UINT>(std::max(15 + 7, menuHeight)));
    separator = Measure(menu, 1);
    EXPECT_EQ(separator.itemHeight, static_cast<UINT>(std::max((15 + 7) / 2, menuHeight / 2)));
}

TEST_F(BitmapMenuTest, ToolBarImagesGoToTheSharedListWithTheirCopiesInTheFlatLook) {
    CResourceTable::AddToolBars(kBars);
    RegisterBitmapResource(kBar, ThreeSquaresStrip());
    CImageList& shared = CBitmapMenu::GetSharedImageList();
    const int before = shared.m_hImageList ? shared.GetImageCount() : 0;
    auto pixel = [&](int index, int x, int y) {
        HICON icon = shared.ExtractIcon(index);
        const QImage image = IconImage(icon).convertToFormat(QImage::Format_ARGB32);
        DestroyIcon(icon);
        return image.pixelColor(x, y);
    };

    CBitmapMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendODMenu(u"Green", MF_STRING, 40002, kBar));
    ASSERT_EQ(shared.GetImageCount(), before + 1);
    EXPECT_EQ(menu.GetRecord(0)->m_sharedIndex, before);
    EXPECT_EQ(CBitmapMenu::GetSharedImageIds().back(), 40002);
    EXPECT_EQ(pixel(before, 5, 5), QColor(Qt::green));
    EXPECT_EQ(pixel(before, 1, 1).alpha(), 0); // the light grey around it is transparent
    // The command again: its image is replaced, not added; an item without an image finds the command's.
    ASSERT_TRUE(menu.AppendODMenu(u"Green again", MF_STRING, 40002, kBar));
    EXPECT_EQ(shared.GetImageCount(), before + 1);
    ASSERT_TRUE(menu.AppendODMenu(u"No picture", MF_STRING, 40002));
    EXPECT_EQ(menu.GetRecord(2)->m_sharedIndex, before);

    CBitmapMenu::SetOSVersionCodeForTest(7);
    ASSERT_TRUE(menu.AppendODMenu(u"Blue", MF_STRING, 40003, kBar));
    ASSERT_EQ(shared.GetImageCount(), before + 4);
    EXPECT_EQ(menu.GetRecord(3)->m_sharedIndex, before + 1);
    const std::vector<int>& ids = CBitmapMenu::GetSharedImageIds();
    EXPECT_EQ(std::count(ids.begin(), ids.end(), 40003), 3);
    EXPECT_EQ(pixel(before + 1, 5, 5), QColor(Qt::blue));
    EXPECT_EQ(pixel(before + 2, 5, 5), Q(CBitmapMenu::LightenColor(RGB(0, 0, 255), 0.3))); // faded
    EXPECT_EQ(pixel(before + 2, 5, 5), QColor(76, 76, 255));
    EXPECT_EQ(pixel(before + 3, 5, 5), Sys(COLOR_BTNSHADOW)); // the shadow, unlightened on a themed desktop
    EXPECT_EQ(pixel(before + 3, 1, 1).alpha(), 0);

    EXPECT_EQ(CBitmapMenu::LightenColor(RGB(100, 0, 255), 0.5), RGB(177, 127, 255));
    EXPECT_EQ(CBitmapMenu::LightenColor(RGB(100, 0, 255), 0.0), RGB(100, 0, 255));
    EXPECT_EQ(CBitmapMenu::LightenColor(RGB(100, 0, 255), 2.0), RGB(100, 0, 255));
}

TEST_F(BitmapMenuTest, TheThreeDimensionalLookFillsTheSelectionBesideTheImageColumn) {
    CResourceTable::AddToolBars(kBars);
    RegisterBitmapResource(kBar, ThreeSquaresStrip());
    CBitmapMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendODMenu(u"Red", MF_STRING, 40001, kBar);
    menu.AppendODMenu(u"Plain", MF_STRING, 500);
    menu.AppendODMenu(nullptr, MF_STRING, 0);

    QImage image = Draw(menu, 0, ODS_SELECTED);
    // Height 22: the image column starts (22 - 15 - 4) / 2 = 1 pixel down; the image sits at (2, 3).
    EXPECT_EQ(image.pixelColor(2 + 5, 3 + 5), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(1, 1), Sys(COLOR_MENU));
    EXPECT_EQ(image.pixelColor(16 + 5, 1), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(image.pixelColor(139, 21), Sys(COLOR_HIGHLIGHT));
    image = Draw(menu, 0, 0);
    EXPECT_EQ(image.pixelColor(30, 1), Sys(COLOR_MENU));

    // Checked without an image: a box with a tick in the menu text colour, 4 pixels in from the box's corner.
    image = Draw(menu, 1, ODS_CHECKED);
    // The box starts at (1, 2); the tick's columns drop 2, 3, 4, 3, 2, 1, 0 and are 3 pixels long.
    EXPECT_EQ(image.pixelColor(1 + 4, 2 + 4 + 2), Sys(COLOR_MENUTEXT));
    EXPECT_EQ(image.pixelColor(1 + 4 + 2, 2 + 4 + 4 + 2), Sys(COLOR_MENUTEXT));
    EXPECT_EQ(image.pixelColor(1 + 4 + 6, 2 + 4), Sys(COLOR_MENUTEXT));
    EXPECT_NE(image.pixelColor(1 + 4 + 6, 2 + 4 + 3), Sys(COLOR_MENUTEXT));
    EXPECT_EQ(image.pixelColor(3, 3), Q(CBitmapMenu::LightenColor(GetSysColor(COLOR_MENU), 0.6)));
    // Selected without an image or check: the whole item.
    image = Draw(menu, 1, ODS_SELECTED);
    EXPECT_EQ(image.pixelColor(1, 1), Sys(COLOR_HIGHLIGHT));

    // The separator: an etched line across the middle.
    image = Draw(menu, 2, 0, 140, 10);
    EXPECT_EQ(image.pixelColor(70, 5), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(image.pixelColor(70, 6), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(image.pixelColor(70, 2), Sys(COLOR_MENU));
}

TEST_F(BitmapMenuTest, TheFlatLookHasALightBandAndABlendedSelectionThatSkipsGreyedItems) {
    CBitmapMenu::SetOSVersionCodeForTest(7);
    CResourceTable::AddToolBars(kBars);
    RegisterBitmapResource(kFlatBar, ThreeSquaresStrip());
    CBitmapMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendODMenu(u"Red", MF_STRING, 41001, kFlatBar);
    menu.AppendODMenu(u"Greyed", MF_STRING | MF_GRAYED, 501);
    menu.AppendODMenu(u"Checked", MF_STRING, 502);
    const QColor selection = Q(CBitmapMenu::LightenColor(GetSysColor(COLOR_HIGHLIGHT), 0.7));
    const int band = 16 + 7;

    QImage image = Draw(menu, 0, 0);
    EXPECT_EQ(image.pixelColor(1, 1), Sys(COLOR_3DFACE));
    EXPECT_EQ(image.pixelColor(band + 2, 1), Sys(COLOR_WINDOW));
    // Centred in the band: ((23 - 16) / 2 + .5, (22 - 15) / 2 + .5) = (4, 4).
    EXPECT_EQ(image.pixelColor(4 + 5, 4 + 5), QColor(Qt::red));

    image = Draw(menu, 0, ODS_SELECTED);
    EXPECT_EQ(image.pixelColor(0, 0), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(image.pixelColor(band + 2, 1), selection);
    // Lifted over its shadow copy.
    EXPECT_EQ(image.pixelColor(3 + 3, 3 + 3), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(5 + 12, 5 + 11), Sys(COLOR_BTNSHADOW));

    image = Draw(menu, 1, ODS_SELECTED | ODS_GRAYED);
    EXPECT_EQ(image.pixelColor(band + 2, 1), Sys(COLOR_WINDOW));

    image = Draw(menu, 2, ODS_CHECKED);
    const int boxLeft = (band - 16) / 2;
    const int boxTop = (22 - 16) / 2;
    EXPECT_EQ(image.pixelColor(boxLeft, boxTop), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(image.pixelColor(boxLeft + 1, boxTop + 1),
              Q(CBitmapMenu::LightenColor(GetSysColor(COLOR_HIGHLIGHT), 0.85)));
    EXPECT_EQ(image.pixelColor(boxLeft + 5 + 2, boxTop + 4 + 4), Sys(COLOR_MENUTEXT));
}
