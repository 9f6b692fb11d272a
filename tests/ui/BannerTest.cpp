#include "WallFixture.h"

#include "ui/CtrlBanner.h"
#include "ui/LcdGridCtrl.h"
#include "ui/MainFrame.h"
#include "ui/PipCtrl.h"
#include "ui/VeltranoApp.h"

#include "core/CommPort.h"
#include "core/WallModel.h"
#include "platform/gui/Cursor.h"
#include "platform/gui/HostWidget.h"
#include "platform/gui/SystemMetrics.h"
#include "platform/os/Gbk.h"
#include "res/ResourceTables.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

#include <tinyxml.h>

#include <functional>

namespace {

// Codes of the sample command definitions beside the fixture's.
enum : int {
    kCodePower = 1,
    kCodeHorizontal = 136,
    kCodeVertical = 137,
};

enum Page { kVideo, kVgaDvi, kMenu, kScene, kOther, kMatrix };

std::vector<unsigned char> Frame(int first, int second, int code, int value) {
    return Bytes({0xD5, first, second, code, value, 0xAA});
}

// The program started as the operator starts it, on a 2 x 3 wall whose port is COM1, a pseudo-terminal; the frame
// effect stored off with the values 10 and 20. Pauses are recorded with what went out before each.
class BannerTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterResourceTables();
        wall.dir.CopySample("command.xml");
        wall.dir.Write("matrix.xml", MatrixFile());
        std::string settings = SettingsFile(2, 3);
        settings.replace(settings.find("COM5"), 4, "COM1"); // the wall's port; the monitor remote keeps its own
        const std::string frameEffect = "horizontal=\"0\" vertical=\"0\"";
        settings.replace(settings.find(frameEffect), frameEffect.size(), "horizontal=\"10\" vertical=\"20\"");
        wall.dir.Write("system.xml", settings);
        wall.link.Link("COM1", wall.pty.SlavePath());
        m_previousPause = SetPauseHandler([this](DWORD ms) {
            pauses.push_back(ms);
            beforePause = Sent();
        });
        SetScreenMetricsHandler([]() { return ScreenMetrics{CRect(0, 0, 1280, 1024), CRect(0, 0, 1280, 1002)}; });
        app.m_argc = 1;
        app.m_argv = m_argv;
        ASSERT_TRUE(app.InitInstance());
        frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame->GetHostWidget()));
        banner = dynamic_cast<CCtrlBanner*>(frame->GetSplitter().GetPane(1, 0));
        ASSERT_NE(banner, nullptr);
    }
    void TearDown() override {
        CDialog::SetModalLoop(nullptr);
        SetCursorPosHandler(nullptr);
        if (CWnd* main = AfxGetMainWnd())
            main->DestroyWindow();
        app.ExitInstance();
        SetScreenMetricsHandler(nullptr);
        SetPauseHandler(m_previousPause);
    }

    std::vector<unsigned char> Sent() { return wall.pty.ReadAvailable(); }
    CPropertySheet& Sheet() { return banner->GetSheet(); }
    // The operator picks the page's tab.
    CPropertyPage* Show(Page page) {
        Sheet().GetTabWidget()->setCurrentIndex(page);
        return Sheet().GetPage(page);
    }
    static CWnd* Item(CWnd* window, int id) {
        CWnd* item = window->GetDlgItem(id);
        EXPECT_NE(item, nullptr) << "control " << id;
        return item;
    }
    static void Click(CWnd* window, int id) {
        if (CWnd* item = Item(window, id))
            QTest::mouseClick(item->GetHostWidget(), Qt::LeftButton);
    }
    static bool Enabled(CWnd* window, int id) {
        CWnd* item = Item(window, id);
        return item && item->GetHostWidget()->isEnabled();
    }
    static std::string Text(CWnd* window, int id) {
        CString text;
        if (CWnd* item = Item(window, id))
            item->GetWindowText(text);
        return text.Str();
    }
    void Select(int minRow, int minCol, int maxRow, int maxCol) {
        TheWallView()->ResetSelectedRange();
        TheWallView()->SetSelectedRange(minRow, minCol, maxRow, maxCol);
    }
    void Open() {
        Click(banner, 1003);
        ASSERT_TRUE(CWallModel::GetInstance()->GetCommPort()->IsOpen());
    }
    // An attribute of the settings file's FRAMEEFFECT, read back from the disk.
    std::string StoredFrameEffect(const char* attribute) {
        TiXmlDocument doc;
        EXPECT_TRUE(doc.LoadFile("system.xml"));
        const TiXmlElement* effect = doc.FirstChildElement("SYSTEM")->FirstChildElement("FRAMEEFFECT");
        const char* value = effect ? effect->Attribute(attribute) : nullptr;
        return value ? value : "";
    }

    WallOnPty wall;
    MessageBoxRecorder boxes{IDOK};
    std::vector<DWORD> pauses;
    std::vector<unsigned char> beforePause;
    CVeltranoApp app;
    CMainFrame* frame = nullptr;
    CCtrlBanner* banner = nullptr;

private:
    PauseHandler m_previousPause;
    char m_name[9] = "veltrano";
    char* m_argv[2] = {m_name, nullptr};
};

const int kPortButtons[] = {1004, 1006, 1005, 1009, 1011, 1013, 1037, 1038, 1039};

} // namespace

TEST_F(BannerTest, BeforeThePortOpensOnlyOpenReactsAndTheSheetShowsItsSixPagesWithVideoInFront) {
    EXPECT_TRUE(Enabled(banner, 1003));
    for (int id : kPortButtons)
        EXPECT_FALSE(Enabled(banner, id)) << id;
    EXPECT_FALSE(Sheet().GetTabWidget()->isEnabled());
    EXPECT_FALSE(Enabled(Sheet().GetPage(kVideo), 1035));

    QTabWidget* tabs = Sheet().GetTabWidget();
    ASSERT_EQ(tabs->count(), 6);
    const UINT templates[] = {105, 132, 106, 144, 135, 146};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Sheet().GetPage(i)->GetTemplateId(), templates[i]);
    EXPECT_EQ(tabs->tabText(kVideo), "VIDEO");
    EXPECT_EQ(tabs->tabText(kVgaDvi), "VGA/DVI");
    EXPECT_EQ(tabs->tabText(kMenu), "MENU");
    EXPECT_EQ(tabs->tabText(kOther), "Other");
    EXPECT_EQ(tabs->currentIndex(), kVideo);

    // A greyed button takes no click.
    Click(banner, 1006);
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(boxes.Boxes().empty());

    // The banner's pane holds the buttons and the whole sheet below the wall view, with no scroll bar.
    CRect client;
    banner->GetClientRect(&client);
    CRect sheet;
    Sheet().GetWindowRect(&sheet);
    banner->ScreenToClient(&sheet);
    EXPECT_GE(client.Width(), 1000);
    EXPECT_GE(client.Height(), 220);
    EXPECT_GE(sheet.left, 0);
    EXPECT_GE(sheet.top, 0);
    EXPECT_LE(sheet.right, client.right);
    EXPECT_LE(sheet.bottom, client.bottom);
    for (int bar : {SB_HORZ, SB_VERT})
        EXPECT_FALSE(banner->GetHost()->ScrollBar(bar)->isVisible());
}

TEST_F(BannerTest, OpenAndCloseFlipTheButtonsAndPowerGoesToTheSelectedBlockOrTheWholeWall) {
    Open();
    EXPECT_FALSE(Enabled(banner, 1003));
    for (int id : kPortButtons)
        EXPECT_TRUE(Enabled(banner, id)) << id;
    EXPECT_TRUE(Sheet().GetTabWidget()->isEnabled());
    EXPECT_TRUE(Enabled(Sheet().GetPage(kVideo), 1035));

    // Rows 1 to 2, columns 2 to 3.
    Select(0, 1, 1, 2);
    Click(banner, 1006);
    EXPECT_EQ(Sent(), Frame(0x12, 0x23, kCodePower, 1));
    TheWallView()->ResetSelectedRange();
    Click(banner, 1005);
    EXPECT_EQ(Sent(), Frame(0x00, 0xFF, kCodePower, 0));

    Click(banner, 1004);
    EXPECT_FALSE(CWallModel::GetInstance()->GetCommPort()->IsOpen());
    EXPECT_TRUE(Enabled(banner, 1003));
    for (int id : kPortButtons)
        EXPECT_FALSE(Enabled(banner, id)) << id;
    EXPECT_FALSE(Sheet().GetTabWidget()->isEnabled());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(BannerTest, AFailedOpenTellsTheOperatorAndChangesNothing) {
    wall.link.Link("COM1", wall.dir.Dir().File("no-such-device"));
    Click(banner, 1003);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, Utf8ToGbkLiteral("Open uart is not success！"));
    EXPECT_EQ(boxes.Boxes()[0].type, MB_ICONERROR);
    EXPECT_TRUE(Enabled(banner, 1003));
    for (int id : kPortButtons)
        EXPECT_FALSE(Enabled(banner, id)) << id;
    EXPECT_FALSE(Sheet().GetTabWidget()->isEnabled());
}

TEST_F(BannerTest, ASourceButtonClosesAnOpenPipWindowBeforeItsCommandAndLabelsTheCells) {
    Open();
    CPoint at(150, 50);
    TheWallView()->ClientToScreen(&at);
    SetCursorPosHandler([at]() { return POINT{at.x, at.y}; });
    ASSERT_EQ(TheWallView()->GetPipCtrl()->OpenWindow(), 0);
    ASSERT_TRUE(TheWallView()->HasPipWindow());
    Sent();

    // The window goes from the screen only: no close command reaches the wall, just the source.
    Select(0, 0, 0, 0);
    Click(banner, 1037);
    EXPECT_FALSE(TheWallView()->HasPipWindow());
    EXPECT_EQ(Sent(), Frame(0x11, 0x11, kCodeHdmi, 0));
    EXPECT_EQ(TheWallView()->GetItemText(0, 0).Str(), "HDMI");

    TheWallView()->ResetSelectedRange();
    Click(banner, 1039);
    EXPECT_EQ(Sent(), Frame(0x00, 0xFF, kCodeUnitShow, 0));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(BannerTest, EveryCommandButtonOfThePagesSendsItsCommandToTheSelection) {
    Open();
    Select(0, 0, 0, 0);
    struct Expected {
        Page page;
        int id;
        int code;
        int value = 0;
    };
    const Expected buttons[] = {
        {kVideo, 1034, 49},     {kVideo, 1035, 48},     {kVideo, 1046, 51},     {kVideo, 1039, 50},
        {kVideo, 1047, 53},     {kVideo, 1049, 52},     {kVideo, 1048, 55},     {kVideo, 1050, 54},
        {kVideo, 1051, 57},     {kVideo, 1052, 56},     {kVgaDvi, 1034, 65},    {kVgaDvi, 1035, 64},
        {kVgaDvi, 1046, 67},    {kVgaDvi, 1039, 66},    {kVgaDvi, 1053, 69},    {kVgaDvi, 1054, 68},
        {kVgaDvi, 1055, 71},    {kVgaDvi, 1056, 70},    {kVgaDvi, 1057, 73},    {kVgaDvi, 1058, 72},
        {kVgaDvi, 1044, 74},    {kMenu, 1037, 32},      {kMenu, 1038, 33},      {kMenu, 1042, 34},
        {kMenu, 1040, 35},      {kMenu, 1041, 36},      {kMenu, 1043, 37},      {kMenu, 1045, 38},
        {kMenu, 1046, 39},      {kMenu, 1044, 40},      {kMenu, 1047, 41},      {kMenu, 1048, 42},
        {kMenu, 1013, 43},      {kOther, 1065, 129},    {kOther, 1082, 143},    {kOther, 1066, 128, 1},
        {kOther, 1067, 128, 0}, {kOther, 1071, 131, 4}, {kOther, 1072, 131, 1},
    };
    for (const Expected& button : buttons) {
        Click(Show(button.page), button.id);
        EXPECT_EQ(wall.pty.Read(6), Frame(0x11, 0x11, button.code, button.value))
            << "page " << button.page << ", control " << button.id;
    }
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(BannerTest, DoSrandPacksTheNumberAndTheAddressAsDecimalDigitsForTheWholeWall) {
    Open();
    CPropertyPage* menu = Show(kMenu);
    // The selection does not matter: the command goes to every unit.
    Select(0, 1, 1, 2);
    const auto doSrand = [&](const char* srand, const char* addr) {
        menu->SetDlgItemText(1148, srand);
        menu->SetDlgItemText(1149, addr);
        Click(menu, 1012);
        return Sent();
    };
    EXPECT_EQ(doSrand("1234", "56"), Bytes({0xD5, 0xFF, 0x12, 0x34, 0x56, 0xAA}));
    EXPECT_EQ(doSrand("1234", "123"), Bytes({0xD5, 0xFF, 0x12, 0x34, 0x27, 0xAA}));
    EXPECT_EQ(doSrand("10000", "56"), Bytes({0xD5, 0xFF, 0xA0, 0x00, 0x56, 0xAA}));
    EXPECT_EQ(doSrand("", "abc"), Bytes({0xD5, 0xFF, 0x00, 0x00, 0x00, 0xAA}));
    EXPECT_EQ(doSrand("  42x", "7"), Bytes({0xD5, 0xFF, 0x00, 0x42, 0x07, 0xAA}));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(BannerTest, TheOtherPageSwitchesTheFrameEffectAndShowsAndStoresEachStep) {
    Open();
    CPropertyPage* other = Show(kOther);
    // Stored off: the switch is clear and the steps greyed; the values still show.
    EXPECT_EQ(other->IsDlgButtonChecked(1064), BST_UNCHECKED);
    for (int id : {1060, 1061, 1062, 1063})
        EXPECT_FALSE(Enabled(other, id)) << id;
    EXPECT_EQ(Text(other, 1068), "10");
    EXPECT_EQ(Text(other, 1069), "20");

    // Horizontal, half a second, vertical; the switch is stored.
    Click(other, 1064);
    EXPECT_EQ(pauses, std::vector<DWORD>{500});
    EXPECT_EQ(beforePause, Frame(0x00, 0x00, kCodeHorizontal, 10));
    EXPECT_EQ(Sent(), Frame(0x00, 0x00, kCodeVertical, 20));
    EXPECT_EQ(StoredFrameEffect("enable"), "true");
    EXPECT_EQ(other->IsDlgButtonChecked(1064), BST_CHECKED);
    for (int id : {1060, 1061, 1062, 1063})
        EXPECT_TRUE(Enabled(other, id)) << id;

    // Each step goes to the selection; the page shows and the file keeps the new value.
    Select(0, 0, 1, 2);
    Click(other, 1060);
    EXPECT_EQ(Sent(), Frame(0x11, 0x23, kCodeHorizontal, 11));
    EXPECT_EQ(Text(other, 1068), "11");
    EXPECT_EQ(StoredFrameEffect("horizontal"), "11");
    Click(other, 1063);
    EXPECT_EQ(Sent(), Frame(0x11, 0x23, kCodeVertical, 19));
    EXPECT_EQ(Text(other, 1069), "19");
    EXPECT_EQ(StoredFrameEffect("vertical"), "19");
    Click(other, 1061);
    Click(other, 1062);
    EXPECT_EQ(Sent(), Bytes({0xD5, 0x11, 0x23, kCodeHorizontal, 10, 0xAA, 0xD5, 0x11, 0x23, kCodeVertical, 20, 0xAA}));
    EXPECT_EQ(Text(other, 1068), "10");
    EXPECT_EQ(Text(other, 1069), "20");

    // A failed switch leaves the page showing what is stored: still on.
    wall.pty.CloseMaster();
    Click(other, 1064);
    EXPECT_EQ(other->IsDlgButtonChecked(1064), BST_CHECKED);
    EXPECT_TRUE(Enabled(other, 1060));
    EXPECT_EQ(StoredFrameEffect("enable"), "true");
    ASSERT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(BannerTest, ASourceChosenForASubPictureGoesToTheSelectionWithItsIndex) {
    Open();
    CPropertyPage* other = Show(kOther);
    // Set up on "DP" without a word to the wall.
    EXPECT_TRUE(Sent().empty());
    auto* p3 = qobject_cast<QComboBox*>(Item(other, 1153)->GetHostWidget());
    ASSERT_NE(p3, nullptr);
    EXPECT_EQ(p3->currentText(), "DP");
    Select(0, 0, 0, 0);
    // The operator steps down twice with the keyboard: "HDMI2", then "VGA".
    p3->setFocus();
    QTest::keyClick(p3, Qt::Key_Down);
    QTest::keyClick(p3, Qt::Key_Down);
    EXPECT_EQ(p3->currentText(), "VGA");
    EXPECT_EQ(Sent(), Bytes({0xD5, 0x11, 0x11, 134, 1, 0xAA, 0xD5, 0x11, 0x11, 134, 2, 0xAA}));
}

TEST_F(BannerTest, AdcAndColorTemperatureOpenModallyAndEachPressSendsAtOnce) {
    Open();
    CPropertyPage* vgaDvi = Show(kVgaDvi);
    Select(0, 0, 0, 0);
    std::vector<UINT> opened;
    std::function<void(CDialog&)> operate;
    CDialog::SetModalLoop([&](CDialog& dialog) {
        opened.push_back(dialog.GetTemplateId());
        EXPECT_TRUE(dialog.IsModal());
        EXPECT_EQ(dialog.GetHostWidget()->windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(QApplication::activeModalWidget(), dialog.GetHostWidget());
        operate(dialog);
    });
    operate = [&](CDialog& dialog) {
        Click(&dialog, 1087);
        Click(&dialog, 1144);
    };
    Click(vgaDvi, 1082);
    EXPECT_EQ(Sent(), Bytes({0xD5, 0x11, 0x11, 80, 0, 0xAA, 0xD5, 0x11, 0x11, 90, 0, 0xAA}));
    operate = [&](CDialog& dialog) {
        Click(&dialog, 1082);
        Click(&dialog, 1134);
    };
    Click(vgaDvi, 1087);
    EXPECT_EQ(Sent(), Bytes({0xD5, 0x11, 0x11, 105, 0, 0xAA, 0xD5, 0x11, 0x11, 114, 0, 0xAA}));
    // Open again: a new dialog each time.
    operate = [](CDialog&) {};
    Click(vgaDvi, 1082);
    EXPECT_EQ(opened, (std::vector<UINT>{165, 166, 165}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(BannerTest, TheAdvancedControlOpensOnItsCommandAndSetsTheChosenTemperature) {
    Open();
    Select(0, 0, 0, 0);
    int runs = 0;
    CDialog::SetModalLoop([&](CDialog& dialog) {
        ++runs;
        EXPECT_EQ(dialog.GetTemplateId(), 167u);
        auto* setPoint = qobject_cast<QComboBox*>(Item(&dialog, 1105)->GetHostWidget());
        EXPECT_EQ(setPoint->currentText(), "30");
        Click(&dialog, 1147);
        setPoint->setCurrentIndex(0);
        Click(&dialog, 1147);
        setPoint->setCurrentIndex(-1);
        Click(&dialog, 1147);
        Click(&dialog, 1082);
        Click(&dialog, 1146);
    });
    frame->SendMessage(WM_COMMAND, ID_ADVANCED_SETTING, 0);
    EXPECT_EQ(runs, 1);
    // 30 degrees, 20 degrees, nothing without a choice, light on, temperature control off.
    EXPECT_EQ(Sent(), Bytes({0xD5, 0x11, 0x11, 146, 30, 0xAA, 0xD5, 0x11, 0x11, 146, 20, 0xAA,
                             0xD5, 0x11, 0x11, 144, 1,  0xAA, 0xD5, 0x11, 0x11, 145, 0,  0xAA}));
}

// The layout is checked at the font the controls are drawn with.
TEST(BannerLayoutTest, EveryLabelFitsAtTheDefaultFontAndNoTwoControlsOverlap) {
    RegisterResourceTables();
    const QFontMetrics metrics(QApplication::font());
    for (UINT id : {103u, 105u, 106u, 132u, 135u, 165u, 166u, 167u}) {
        const DlgTemplate* dialog = CResourceTable::FindDialog(id);
        ASSERT_NE(dialog, nullptr) << id;
        std::vector<QRect> placed;
        for (const DlgItemTemplate& item : dialog->items) {
            const QRect r(item.x, item.y, item.cx, item.kind == DlgItemKind::ComboBox ? 26 : item.cy);
            EXPECT_TRUE(QRect(0, 0, dialog->cx, dialog->cy).contains(r)) << id << ": control " << item.id;
            const QString text = QString::fromUtf8(item.text);
            // Room for a button's frame, a check box's box.
            const int margin = item.kind == DlgItemKind::PushButton ? 12 : item.kind == DlgItemKind::CheckBox ? 24 : 0;
            EXPECT_LE(metrics.horizontalAdvance(text) + margin, item.cx) << id << ": \"" << item.text << "\"";
            EXPECT_LE(metrics.height(), r.height()) << id << ": \"" << item.text << "\"";
            if (item.kind == DlgItemKind::TabControl)
                continue;
            for (const QRect& other : placed)
                EXPECT_FALSE(r.intersects(other)) << id << ": control " << item.id << " \"" << item.text << "\"";
            placed.push_back(r);
        }
    }
}
