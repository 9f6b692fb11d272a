#include "tests/ui/WallFixture.h"

#include "ui/app/MainFrame.h"
#include "ui/app/VeltranoApp.h"
#include "ui/banner/CtrlBanner.h"
#include "ui/forms/DialogFields.h"
#include "ui/wall/LcdGridCtrl.h"
#include "ui/wall/PipCtrl.h"

#include "core/CommPort.h"
#include "core/WallModel.h"
#include "platform/gui/window/Cursor.h"
#include "platform/gui/window/HostWidget.h"
#include "platform/gui/window/SystemMetrics.h"
#include "platform/os/Gbk.h"
#include "res/ResourceTables.h"

#include <QComboBox>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

#include <tinyxml.h>

namespace {

enum Page { kVideo, kVgaDvi, kMenu, kScene, kOther, kMatrix };
const int kPortButtons[] = {1004, 1006, 1005, 1009, 1011, 1013, 1037, 1038, 1039};

std::vector<unsigned char> Frame(int first, int second, int code, int value) {
    return Bytes({0xD5, first, second, code, value, 0xAA});
}

// The program started as the operator starts it, on a 2 x 3 wall whose port COM1 is a pseudo-terminal; the frame
// effect stored off with the values 10 and 20. A pause records what went out before it.
class BannerTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterResourceTables();
        wall.dir.CopySample("command.xml");
        wall.dir.Write("matrix.xml", MatrixFile());
        std::string settings = SettingsFile(2, 3);
        settings.replace(settings.find("COM5"), 4, "COM1"); // the wall's port; the monitor remote keeps its own
        const std::string stored = "horizontal=\"0\" vertical=\"0\"";
        settings.replace(settings.find(stored), stored.size(), "horizontal=\"10\" vertical=\"20\"");
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
        ASSERT_TRUE(frame && QTest::qWaitForWindowExposed(frame->GetHostWidget()));
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
    static QWidget* Item(CWnd* window, int id) {
        CWnd* item = window->GetDlgItem(id);
        EXPECT_NE(item, nullptr) << "control " << id;
        return item ? item->GetHostWidget() : nullptr;
    }
    static void Click(CWnd* window, int id) {
        if (QWidget* item = Item(window, id))
            QTest::mouseClick(item, Qt::LeftButton);
    }
    static bool Enabled(CWnd* window, int id) { return Item(window, id) && Item(window, id)->isEnabled(); }
    // Only "Open" is live, or everything but "Open".
    void ExpectPortButtons(bool open) {
        EXPECT_NE(Enabled(banner, 1003), open);
        for (int id : kPortButtons)
            EXPECT_EQ(Enabled(banner, id), open) << id;
        EXPECT_EQ(Sheet().GetTabWidget()->isEnabled(), open);
        EXPECT_EQ(Enabled(Sheet().GetPage(kVideo), 1035), open);
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
    static std::string StoredFrameEffect(const char* attribute) {
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

} // namespace

TEST_F(BannerTest, UntilThePortOpensOnlyOpenReactsAndAFailedOpenChangesNothing) {
    ExpectPortButtons(false);
    Click(banner, 1006); // greyed: no click
    EXPECT_TRUE(Sent().empty());

    wall.link.Link("COM1", wall.dir.Dir().File("no-such-device"));
    Click(banner, 1003);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, Utf8ToGbkLiteral("Open uart is not success！"));
    EXPECT_EQ(boxes.Boxes()[0].type, MB_ICONERROR);
    ExpectPortButtons(false);
}

TEST_F(BannerTest, TheSheetHoldsTheSixPagesInOrderWithVideoInFrontAndFitsUnderTheWallView) {
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

    // The button row and the whole sheet in the banner's pane at the start-up size, with no scroll bar.
    CRect client;
    banner->GetClientRect(&client);
    CRect sheet;
    Sheet().GetWindowRect(&sheet);
    banner->ScreenToClient(&sheet);
    EXPECT_TRUE(sheet.left >= 0 && sheet.top >= 0 && sheet.right <= client.right && sheet.bottom <= client.bottom)
        << sheet.right << " x " << sheet.bottom << " in " << client.right << " x " << client.bottom;
    for (int bar : {SB_HORZ, SB_VERT})
        EXPECT_FALSE(banner->GetHost()->ScrollBar(bar)->isVisible());
}

TEST_F(BannerTest, PowerAndSourceGoToTheSelectedBlockOrTheWholeWallAndASourceClosesThePipWindowFirst) {
    Open();
    ExpectPortButtons(true);
    Select(0, 1, 1, 2); // rows 1 to 2, columns 2 to 3
    Click(banner, 1006);
    EXPECT_EQ(Sent(), Frame(0x12, 0x23, 1, 1));
    TheWallView()->ResetSelectedRange();
    Click(banner, 1005);
    EXPECT_EQ(Sent(), Frame(0x00, 0xFF, 1, 0));

    CPoint at(150, 50);
    TheWallView()->ClientToScreen(&at);
    SetCursorPosHandler([at]() { return POINT{at.x, at.y}; });
    ASSERT_EQ(TheWallView()->GetPipCtrl()->OpenWindow(), 0);
    Sent();
    // The window goes from the screen only: the wall hears the source and no close.
    Select(0, 0, 0, 0);
    Click(banner, 1037);
    EXPECT_FALSE(TheWallView()->HasPipWindow());
    EXPECT_EQ(Sent(), Frame(0x11, 0x11, kCodeHdmi, 0));
    EXPECT_EQ(TheWallView()->GetItemText(0, 0).Str(), "HDMI");

    Click(banner, 1004);
    EXPECT_FALSE(CWallModel::GetInstance()->GetCommPort()->IsOpen());
    ExpectPortButtons(false);
    EXPECT_TRUE(boxes.Boxes().empty());
}

// The pages reuse control ids: each button reaches its own page's command.
TEST_F(BannerTest, ACommandButtonSendsItsPagesCommandToTheSelection) {
    Open();
    Select(0, 0, 0, 0);
    const struct {
        Page page;
        int id;
        std::vector<unsigned char> frame;
    } buttons[] = {
        {kVideo, 1039, Frame(0x11, 0x11, 50, 0)},  // contrast up
        {kVgaDvi, 1039, Frame(0x11, 0x11, 66, 0)}, // contrast up
        {kVgaDvi, 1044, Frame(0x11, 0x11, 74, 0)}, // auto
        {kMenu, 1044, Frame(0x11, 0x11, 40, 0)},   // 270 degrees
        {kMenu, 1040, Frame(0x11, 0x11, 35, 0)},   // left
        {kOther, 1082, Frame(0x11, 0x11, 143, 0)}, // factory reset
        {kOther, 1071, Frame(0x11, 0x11, 131, 4)}, // four pictures
    };
    for (const auto& button : buttons) {
        Click(Show(button.page), button.id);
        EXPECT_EQ(Sent(), button.frame) << "page " << button.page << ", control " << button.id;
    }
}

TEST_F(BannerTest, DoSrandPacksTheNumberAndTheAddressAsDecimalDigitsForTheWholeWall) {
    Open();
    CPropertyPage* menu = Show(kMenu);
    Select(0, 1, 1, 2); // not used: the command goes to every unit
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
}

TEST_F(BannerTest, TheOtherPageSwitchesTheFrameEffectShowsAndStoresEachStepAndSendsTheSubPicturesSources) {
    Open();
    CPropertyPage* other = Show(kOther);
    // Stored off: the switch is clear and the steps greyed; the values still show. The combos say "DP" unsent.
    EXPECT_EQ(other->IsDlgButtonChecked(1064), BST_UNCHECKED);
    EXPECT_FALSE(Enabled(other, 1060) || Enabled(other, 1061) || Enabled(other, 1062) || Enabled(other, 1063));
    EXPECT_EQ(ItemText(other, 1068).Str() + " " + ItemText(other, 1069).Str(), "10 20");
    EXPECT_TRUE(Sent().empty());

    // Horizontal, half a second, vertical; the switch is stored.
    Click(other, 1064);
    EXPECT_EQ(pauses, std::vector<DWORD>{500});
    EXPECT_EQ(beforePause, Frame(0x00, 0x00, 136, 10));
    EXPECT_EQ(Sent(), Frame(0x00, 0x00, 137, 20));
    EXPECT_EQ(StoredFrameEffect("enable"), "true");
    EXPECT_TRUE(Enabled(other, 1060) && Enabled(other, 1061) && Enabled(other, 1062) && Enabled(other, 1063));

    // Steps go to the selection; the page shows and the file keeps the new values.
    Select(0, 0, 1, 2);
    Click(other, 1060);
    Click(other, 1063);
    EXPECT_EQ(Sent(), Bytes({0xD5, 0x11, 0x23, 136, 11, 0xAA, 0xD5, 0x11, 0x23, 137, 19, 0xAA}));
    EXPECT_EQ(ItemText(other, 1068).Str() + " " + ItemText(other, 1069).Str(), "11 19");
    EXPECT_EQ(StoredFrameEffect("horizontal") + " " + StoredFrameEffect("vertical"), "11 19");

    // The operator steps the P3 combo down twice with the keyboard: "HDMI2", then "VGA".
    auto* p3 = qobject_cast<QComboBox*>(Item(other, 1153));
    ASSERT_NE(p3, nullptr);
    p3->setFocus();
    QTest::keyClick(p3, Qt::Key_Down);
    QTest::keyClick(p3, Qt::Key_Down);
    EXPECT_EQ(Sent(), Bytes({0xD5, 0x11, 0x23, 134, 1, 0xAA, 0xD5, 0x11, 0x23, 134, 2, 0xAA}));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(BannerTest, AdcColorTemperatureAndAdvancedControlRunModallyAndEachPressSendsAtOnce) {
    Open();
    Select(0, 0, 0, 0);
    std::vector<UINT> opened;
    CDialog::SetModalLoop([&](CDialog& dialog) {
        opened.push_back(dialog.GetTemplateId());
        EXPECT_EQ(QApplication::activeModalWidget(), dialog.GetHostWidget());
        EXPECT_EQ(dialog.GetHostWidget()->windowModality(), Qt::ApplicationModal);
        if (dialog.GetTemplateId() != 167) {
            Click(&dialog, 1087);
            return;
        }
        // The set point starts at 30 degrees; without a choice nothing goes.
        auto* setPoint = qobject_cast<QComboBox*>(Item(&dialog, 1105));
        Click(&dialog, 1147);
        setPoint->setCurrentIndex(0);
        Click(&dialog, 1147);
        setPoint->setCurrentIndex(-1);
        Click(&dialog, 1147);
        Click(&dialog, 1082);
    });
    Click(Show(kVgaDvi), 1082);
    Click(Show(kVgaDvi), 1087);
    frame->SendMessage(WM_COMMAND, ID_ADVANCED_SETTING, 0);
    EXPECT_EQ(opened, (std::vector<UINT>{165, 166, 167}));
    // ADC offset R+, white balance offset R+, 30 degrees, 20 degrees, light on.
    EXPECT_EQ(Sent(),
              Bytes({0xD5, 0x11, 0x11, 80,   0,    0xAA, 0xD5, 0x11, 0x11, 104,  0,    0xAA, 0xD5, 0x11, 0x11,
                     146,  30,   0xAA, 0xD5, 0x11, 0x11, 146,  20,   0xAA, 0xD5, 0x11, 0x11, 144,  1,    0xAA}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// At the font the controls are drawn with.
TEST(BannerLayoutTest, EveryLabelFitsAtTheDefaultFontAndNoTwoControlsOverlap) {
    RegisterResourceTables();
    const QFontMetrics metrics(QApplication::font());
    for (UINT id : {103u, 105u, 106u, 132u, 135u, 165u, 166u, 167u}) {
        const DlgTemplate* dialog = CResourceTable::FindDialog(id);
        ASSERT_NE(dialog, nullptr) << id;
        std::vector<QRect> placed;
        for (const DlgItemTemplate& item : dialog->items) {
            const QRect r(item.x, item.y, item.cx, item.kind == DlgItemKind::ComboBox ? 26 : item.cy);
            // Room for a button's frame, a check box's box.
            const int margin = item.kind == DlgItemKind::PushButton ? 12 : item.kind == DlgItemKind::CheckBox ? 24 : 0;
            EXPECT_LE(metrics.horizontalAdvance(QString::fromUtf8(item.text)) + margin, item.cx)
                << id << " " << item.text;
            EXPECT_LE(metrics.height(), r.height()) << id << " " << item.text;
            EXPECT_TRUE(QRect(0, 0, dialog->cx, dialog->cy).contains(r)) << id << ": control " << item.id;
            if (item.kind == DlgItemKind::TabControl)
                continue;
            for (const QRect& other : placed)
                EXPECT_FALSE(r.intersects(other)) << id << ": control " << item.id << " " << item.text;
            placed.push_back(r);
        }
    }
}
