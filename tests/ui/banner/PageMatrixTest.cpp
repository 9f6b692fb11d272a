#include "tests/ui/PageFixture.h"

#include "ui/banner/PageMatrix.h"
#include "ui/forms/DialogFields.h"
#include "ui/wall/LcdGridCtrl.h"

#include "core/CommPort.h"
#include "core/Matrix.h"
#include "core/MatrixMgr.h"
#include "core/WallModel.h"
#include "platform/os/Gbk.h"

#include <tinyxml.h>

#include <array>
#include <optional>

namespace {

constexpr int kMatrixCombo = 1086;
constexpr int kWordCombo = 1105;
constexpr int kTypeCombo = 1088;
constexpr int kPortCombo = 1031;
constexpr int kOpenPort = 1106;
constexpr int kFormat = 1091;
constexpr int kIncrease = 1083;
constexpr int kPrev = 1082;
constexpr int kNext = 1084;

// Channel button k (1 to 20).
int Button(int k) { return k == 1 ? 1077 : 1154 + k; }

// Five matrices: "M1" on the wall port with 45 channels, three of them named, and two commands; "Own" on a port of
// its own (COM7) with 20 channels; "Gone" on a port of its own whose device is missing, with 21 channels; "Empty"
// with none; and a fifth.
std::string PageMatrices() {
    const std::string sw = "<MESSAGE name=\"SW\"><BYTES type=\"hex\">A5</BYTES><IN/><OUT/>"
                           "<CHKXOR from=\"0\" to=\"2\"/></MESSAGE>";
    const std::string alt = "<MESSAGE name=\"ALT\"><BYTES type=\"hex\">5A</BYTES><IN/><OUT/></MESSAGE>";
    const std::string signal = "<SIGNAL type=\"VGA\" grow_type=\"HDMI\" />";
    const std::string own = "baudrate=\"9600\" stopbit=\"0\" databit=\"8\" parity=\"0\" />";
    return "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<MATRIXLIST>\n"
           "<MATRIX name=\"M1\" type=\"VGA\">" +
           sw + alt + signal +
           "<COMM indep=\"false\" /><CHANNEL count=\"45\"><ITEM id=\"1\" name=\"Door\" />"
           "<ITEM id=\"21\" name=\"Lobby\" /><ITEM id=\"45\" name=\"Roof\" /></CHANNEL></MATRIX>\n"
           "<MATRIX name=\"Own\" type=\"HDMI\">" +
           sw + signal + "<COMM indep=\"true\" port=\"COM7\" " + own +
           "<CHANNEL count=\"20\" /></MATRIX>\n"
           "<MATRIX name=\"Gone\" type=\"DVI\">" +
           sw + signal + "<COMM indep=\"true\" port=\"COM8\" " + own +
           "<CHANNEL count=\"21\"><ITEM id=\"21\" name=\"Last\" /></CHANNEL></MATRIX>\n"
           "<MATRIX name=\"Empty\" type=\"AV\">" +
           sw + signal + "<CHANNEL count=\"0\" /></MATRIX>\n<MATRIX name=\"Fifth\" type=\"AV\">" + sw + alt + signal +
           "<CHANNEL count=\"3\" /></MATRIX>\n</MATRIXLIST>\n";
}

std::string MatrixPage(int matrix, int c0, int c1, int c2, int c3) {
    return "<MATRIXPAGE itemX1=\"" + std::to_string(matrix) + "\" item02=\"" + std::to_string(c0) + "\" item12=\"" +
           std::to_string(c1) + "\" item22=\"" + std::to_string(c2) + "\" item32=\"" + std::to_string(c3) + "\" />\n";
}

class PageMatrixTest : public PageFixture {
protected:
    // Builds the wall with the settings' matrix page selections and shows the page.
    void Start(const std::string& matrixPage = MatrixPage(0, 0, 0, 0, 0),
               const std::string& matrices = PageMatrices()) {
        BuildWallWith(WithSections(SettingsFile(2, 3), matrixPage), matrices);
        OpenPort();
        page.emplace(view);
        host.emplace(std::initializer_list<CPropertyPage*>{&*page});
        ASSERT_TRUE(page->GetSafeHwnd());
    }
    void DestroyPages() override {
        host.reset();
        page.reset();
    }
    // The selections as the settings file on disk holds them.
    std::array<int, 5> StoredItems() {
        TiXmlDocument file;
        EXPECT_TRUE(file.LoadFile((wall.dir.Dir().Path() + "/system.xml").c_str()));
        const TiXmlElement* items = file.RootElement()->FirstChildElement("MATRIXPAGE");
        std::array<int, 5> values{-9, -9, -9, -9, -9};
        if (!items)
            return values;
        const char* names[] = {"itemX1", "item02", "item12", "item22", "item32"};
        for (size_t i = 0; i < 5; ++i)
            items->QueryIntAttribute(names[i], &values[i]);
        return values;
    }
    std::vector<std::string> Labels(int count) {
        std::vector<std::string> labels;
        for (int k = 1; k <= count; ++k)
            labels.push_back(Text(*page, Button(k)));
        return labels;
    }
    int ShownButtons() {
        int shown = 0;
        for (int k = 1; k <= CPageMatrix::kButtonsPerPage; ++k)
            shown += Shown(*page, Button(k)) ? 1 : 0;
        return shown;
    }

    std::optional<CPageMatrix> page;
    std::optional<PageHost> host;
};

} // namespace

TEST_F(PageMatrixTest, AChannelButtonSwitchesItsInputToTheSelectedUnitsAndTheWallShowsTheSignal) {
    Start();
    EXPECT_EQ(Text(*page, kMatrixCombo), "M1");
    EXPECT_EQ(Text(*page, kWordCombo), "SW");
    EXPECT_EQ(Text(*page, kTypeCombo), "VGA");
    EXPECT_EQ(Text(*page, kPortCombo), "COM5");
    EXPECT_EQ(Text(*page, kFormat), "A5-IN-OUT-CHKXOR");

    Select(0, 0, 0, 1);
    Click(*page, Button(3));
    EXPECT_EQ(Sent(), Join({SwitchFrame(3, 1), SwitchFrame(3, 2), ShortFrame(0x11, 0x12, kCodeVga, 0)}));
    EXPECT_EQ(pauses, std::vector<DWORD>{1000});
    EXPECT_EQ(Label(0, 0), "VGA[3]");
    EXPECT_EQ(Label(0, 1), "VGA[3]");
    EXPECT_EQ(Label(1, 0), "");
    EXPECT_TRUE(boxes.Boxes().empty());

    // With nothing selected the operator is asked for units and nothing goes out.
    view->ResetSelectedRange();
    Click(*page, Button(1));
    EXPECT_TRUE(Sent().empty());
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Please choose panel\xA3\xA1");
}

TEST_F(PageMatrixTest, AMessageTooLongToBuildFailsTheSwitchAsAFailedSendAndNothingGoesOut) {
    std::string matrices = PageMatrices();
    const std::string first = "<MESSAGE name=\"SW\"><BYTES type=\"hex\">A5</BYTES>";
    matrices.insert(matrices.find(first) + first.size(),
                    "<BYTES type=\"alpha\">" + std::string(65536, 'x') + "</BYTES>");
    Start(MatrixPage(0, 0, 0, 0, 0), matrices);
    Select(0, 0, 0, 1);
    Click(*page, Button(3));
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(pauses.empty());
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, Utf8ToGbkLiteral("串口发送数据出错！"));
    EXPECT_EQ(Label(0, 0), "");
}

TEST_F(PageMatrixTest, FortyFiveChannelsPageByTwentyAndIncreaseCountsOnFromTheButtonsInput) {
    Start();
    EXPECT_EQ(page->GetPageCount(), 3);
    EXPECT_EQ(ShownButtons(), 20);
    EXPECT_EQ(Labels(3), (std::vector<std::string>{"Door", "2", "3"}));
    EXPECT_EQ(Text(*page, Button(20)), "20");
    EXPECT_FALSE(Enabled(*page, kPrev));
    EXPECT_TRUE(Enabled(*page, kNext));

    Click(*page, kNext);
    EXPECT_EQ(page->GetCurrentPage(), 2);
    EXPECT_EQ(ShownButtons(), 20);
    EXPECT_EQ(Labels(3), (std::vector<std::string>{"Lobby", "22", "23"}));
    EXPECT_TRUE(Enabled(*page, kPrev) && Enabled(*page, kNext));

    // Page 2, button 3, three units in a row: inputs 23, 24, 25, then the grown signal.
    Click(*page, kIncrease);
    EXPECT_TRUE(page->IsIncrease());
    Select(0, 0, 0, 2);
    Click(*page, Button(3));
    EXPECT_EQ(Sent(),
              Join({SwitchFrame(23, 1), SwitchFrame(24, 2), SwitchFrame(25, 3), ShortFrame(0x11, 0x13, kCodeHdmi, 0)}));
    EXPECT_EQ(Label(0, 0), "HDMI[23]");
    EXPECT_EQ(Label(0, 2), "HDMI[25]");

    Click(*page, kNext);
    EXPECT_EQ(page->GetCurrentPage(), 3);
    EXPECT_EQ(ShownButtons(), 5);
    EXPECT_TRUE(Shown(*page, Button(5)));
    EXPECT_FALSE(Shown(*page, Button(6)));
    EXPECT_EQ(Labels(5), (std::vector<std::string>{"41", "42", "43", "44", "Roof"}));
    EXPECT_FALSE(Enabled(*page, kNext));
    EXPECT_TRUE(Enabled(*page, kPrev));
    // There is no fourth page to go to.
    page->OnNextPage();
    EXPECT_EQ(page->GetCurrentPage(), 3);

    Click(*page, kPrev);
    Click(*page, kPrev);
    EXPECT_EQ(page->GetCurrentPage(), 1);
    EXPECT_EQ(ShownButtons(), 20);
    EXPECT_EQ(Text(*page, Button(1)), "Door");
    EXPECT_FALSE(Enabled(*page, kPrev));
    page->OnPrevPage();
    EXPECT_EQ(page->GetCurrentPage(), 1);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(PageMatrixTest, TwentyChannelsMakeOnePageTwentyOneMakeTwoAndNoneShowsNoButton) {
    Start();
    Choose(*page, kMatrixCombo, 1);
    EXPECT_EQ(page->GetPageCount(), 1);
    EXPECT_EQ(ShownButtons(), 20);
    EXPECT_EQ(Text(*page, Button(20)), "20");
    EXPECT_FALSE(Enabled(*page, kPrev) || Enabled(*page, kNext));

    Choose(*page, kMatrixCombo, 2);
    EXPECT_EQ(page->GetPageCount(), 2);
    EXPECT_TRUE(Enabled(*page, kNext));
    Click(*page, kNext);
    EXPECT_EQ(ShownButtons(), 1);
    EXPECT_EQ(Text(*page, Button(1)), "Last");
    EXPECT_FALSE(Enabled(*page, kNext));

    Choose(*page, kMatrixCombo, 3);
    EXPECT_EQ(page->GetPageCount(), 1);
    EXPECT_EQ(page->GetCurrentPage(), 1);
    EXPECT_EQ(ShownButtons(), 0);
    EXPECT_FALSE(Enabled(*page, kPrev) || Enabled(*page, kNext));
    EXPECT_EQ(Text(*page, kTypeCombo), "AV");
}

TEST_F(PageMatrixTest, OpenPortOpensAndClosesTheMatrixOwnPortAndAPortThatWillNotOpenIsShown) {
    Pty matrixLine;
    wall.link.Link("COM7", matrixLine.SlavePath());
    wall.link.Link("COM8", wall.dir.Dir().Path() + "/no-such-device");
    Start();
    // On the wall's port the box only tells whether that port is open.
    EXPECT_FALSE(Enabled(*page, kOpenPort));
    EXPECT_EQ(page->IsDlgButtonChecked(kOpenPort), BST_CHECKED);

    Choose(*page, kMatrixCombo, 1);
    EXPECT_EQ(Text(*page, kPortCombo), "COM7");
    EXPECT_EQ(Text(*page, kTypeCombo), "HDMI");
    EXPECT_TRUE(Enabled(*page, kOpenPort));
    EXPECT_EQ(page->IsDlgButtonChecked(kOpenPort), BST_UNCHECKED);

    // A closed own port refuses the switch.
    Select(0, 0, 0, 0);
    Click(*page, Button(1));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(matrixLine.ReadAvailable().empty());

    Click(*page, kOpenPort);
    EXPECT_EQ(page->IsDlgButtonChecked(kOpenPort), BST_CHECKED);
    BOOL own = FALSE;
    CCommPortSetting* port = page->GetCurrentMatrix()->GetPort(own);
    ASSERT_TRUE(own && port);
    EXPECT_TRUE(port->IsOpen());
    Click(*page, Button(1));
    EXPECT_EQ(matrixLine.ReadAvailable(), SwitchFrame(1, 1));
    EXPECT_EQ(Sent(), ShortFrame(0x11, 0x11, kCodeVga, 0));

    Click(*page, kOpenPort);
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(page->IsDlgButtonChecked(kOpenPort), BST_UNCHECKED);
    EXPECT_TRUE(CWallModel::GetInstance()->GetCommPort()->IsOpen());

    Choose(*page, kMatrixCombo, 2);
    Click(*page, kOpenPort);
    EXPECT_EQ(page->IsDlgButtonChecked(kOpenPort), BST_UNCHECKED);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text, "Open uart is not success\xA3\xA1");
    EXPECT_EQ(boxes.Boxes()[1].type & MB_ICONMASK, MB_ICONERROR);
}

TEST_F(PageMatrixTest, TheChosenMatrixAndCommandAreKeptInTheSettingsFileAndWithNoCommandNothingIsSwitched) {
    // The file remembers the first matrix with its second command.
    Start(MatrixPage(0, 1, -1, -1, -1));
    EXPECT_EQ(Text(*page, kMatrixCombo), "M1");
    EXPECT_EQ(Text(*page, kWordCombo), "ALT");
    EXPECT_EQ(Text(*page, kFormat), "5A-IN-OUT");

    // A matrix without a remembered command shows none and no format. Its buttons switch nothing (its own port
    // being closed too): nothing goes out, no cell changes, and the operator is told why.
    Choose(*page, kMatrixCombo, 1);
    EXPECT_EQ(Text(*page, kWordCombo), "");
    EXPECT_EQ(Text(*page, kFormat), "");
    EXPECT_EQ(StoredItems(), (std::array<int, 5>{1, 1, -1, -1, -1}));
    Select(0, 0, 0, 1);
    Click(*page, Button(5));
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(Label(0, 0) + Label(0, 1), "");
    EXPECT_EQ(boxes.Boxes().at(0).text,
              "No command is chosen under \"word\" for the matrix \"Own\": nothing was switched.");
    Choose(*page, kWordCombo, 0);
    EXPECT_EQ(Text(*page, kFormat), "A5-IN-OUT-CHKXOR");
    EXPECT_EQ(StoredItems(), (std::array<int, 5>{1, 1, 0, -1, -1}));

    // The fifth matrix has no command of its own to remember: the four stay as they are.
    Choose(*page, kMatrixCombo, 4);
    EXPECT_EQ(Text(*page, kWordCombo), "");
    EXPECT_EQ(ComboSelection(&*page, kWordCombo), -1);
    EXPECT_EQ(StoredItems(), (std::array<int, 5>{4, 1, 0, -1, -1}));

    // A page built anew comes back to what was chosen last.
    Choose(*page, kMatrixCombo, 1);
    DestroyPages();
    page.emplace(view);
    host.emplace(std::initializer_list<CPropertyPage*>{&*page});
    EXPECT_EQ(Text(*page, kMatrixCombo), "Own");
    EXPECT_EQ(Text(*page, kWordCombo), "SW");
}

TEST_F(PageMatrixTest, ShowingThePageOrAChangedMatrixWritesNothingWhateverCommandsTheFileRemembers) {
    const std::string settings = WithSections(SettingsFile(2, 3), MatrixPage(0, -5, 2147483647, -1, -1));
    Start(MatrixPage(0, -5, 2147483647, -1, -1));
    EXPECT_EQ(wall.dir.Read("system.xml"), settings);
    EXPECT_EQ(ComboSelection(&*page, kWordCombo), -1);
    CMatrixMgr* mgr = CWallModel::GetInstance()->GetMatrixMgr();
    mgr->GetAt(0)->SetName("Main");
    mgr->SaveMatrix("M1", mgr->GetAt(0));
    EXPECT_EQ(page->GetMatrixName().Str(), "Main");
    EXPECT_EQ(wall.dir.Read("system.xml"), settings);

    // The operator's choice of a matrix is kept; the commands stay as the file has them.
    Choose(*page, kMatrixCombo, 1);
    EXPECT_EQ(ComboSelection(&*page, kWordCombo), -1);
    EXPECT_EQ(StoredItems(), (std::array<int, 5>{1, -5, 2147483647, -1, -1}));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(PageMatrixTest, AMatrixRenamedElsewhereIsRenamedInPlaceInTheListAndTheChoiceStays) {
    Start();
    CMatrixMgr* mgr = CWallModel::GetInstance()->GetMatrixMgr();
    auto rename = [&](int index, const char* name) {
        CMatrix* matrix = mgr->GetAt(static_cast<CMatrixMgr::Position>(index));
        const std::string oldName = matrix->GetName();
        matrix->SetName(name);
        mgr->SaveMatrix(oldName, matrix);
    };
    auto entries = [&] { return Entries(*page, kMatrixCombo); };
    Choose(*page, kMatrixCombo, 1);

    rename(0, "Main");
    EXPECT_EQ(entries(), (std::vector<std::string>{"Main", "Own", "Gone", "Empty", "Fifth"}));
    EXPECT_EQ(ComboSelection(&*page, kMatrixCombo), 1);
    EXPECT_EQ(page->GetMatrixName().Str(), "Own");

    rename(1, "Private");
    EXPECT_EQ(entries(), (std::vector<std::string>{"Main", "Private", "Gone", "Empty", "Fifth"}));
    EXPECT_EQ(page->GetMatrixName().Str(), "Private");
    EXPECT_EQ(page->GetCurrentMatrix(), mgr->GetAt(1));

    // Names that differ only in case are two matrices: the one renamed is the one whose entry changes.
    rename(2, "main");
    rename(2, "Spare");
    EXPECT_EQ(entries(), (std::vector<std::string>{"Main", "Private", "Spare", "Empty", "Fifth"}));

    // On M1's page 2, a rename of M1 shows it again from its first page.
    Choose(*page, kMatrixCombo, 0);
    Click(*page, kNext);
    rename(0, "Hall");
    EXPECT_EQ(page->GetMatrixName().Str(), "Hall");
    EXPECT_EQ(page->GetCurrentPage(), 1);
    EXPECT_EQ(Text(*page, Button(1)), "Door");

    // A page that is gone hears nothing more.
    DestroyPages();
    rename(0, "Lounge");
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(PageMatrixTest, APageNotYetShownListsTheMatricesAsTheyAreWhenItIsFirstShown) {
    // A settings file without the page's choices: showing the page has nothing to write.
    BuildWallWith(SettingsFile(2, 3), PageMatrices());
    CPageMatrix other(view);
    page.emplace(view);
    host.emplace(std::initializer_list<CPropertyPage*>{&other, &*page});
    EXPECT_FALSE(page->GetSafeHwnd());
    CMatrixMgr* mgr = CWallModel::GetInstance()->GetMatrixMgr();
    mgr->GetAt(0)->SetName("Renamed");
    mgr->SaveMatrix("M1", mgr->GetAt(0));
    host->Show(&*page);
    ASSERT_TRUE(page->GetSafeHwnd());
    EXPECT_EQ(page->GetMatrixName().Str(), "Renamed");
    EXPECT_EQ(Text(*page, kWordCombo), "SW");
    EXPECT_TRUE(boxes.Boxes().empty());
    DestroyPages();
}

TEST_F(PageMatrixTest, WithNoMatrixDefinedThePageShowsPageOneAndNothingCanBeSwitchedPagedOrOpened) {
    const std::string settings = WithSections(SettingsFile(2, 3), MatrixPage(1, 0, 0, -1, -1));
    Start(MatrixPage(1, 0, 0, -1, -1), "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<MATRIXLIST />\n");
    EXPECT_EQ(page->GetCurrentMatrix(), nullptr);
    EXPECT_EQ(page->GetCurrentPage(), 1);
    EXPECT_EQ(ShownButtons(), 20);
    EXPECT_EQ(Labels(3), (std::vector<std::string>{"1", "2", "3"}));
    for (int k = 1; k <= 20; ++k)
        EXPECT_FALSE(Enabled(*page, Button(k))) << k;
    EXPECT_FALSE(Enabled(*page, kPrev) || Enabled(*page, kNext) || Enabled(*page, kOpenPort));
    EXPECT_EQ(Text(*page, kWordCombo), "");
    EXPECT_EQ(Text(*page, kFormat), "");

    Select(0, 0, 0, 0);
    Click(*page, Button(1));
    page->OnNextPage();
    page->OnOpenPort();
    EXPECT_EQ(page->GetCurrentPage(), 1);
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(boxes.Boxes().empty());
    // The remembered choice is left for the matrices to come back.
    EXPECT_EQ(wall.dir.Read("system.xml"), settings);
}

TEST_F(PageMatrixTest, AStoredChoiceThatSelectsNoMatrixLeavesThePageIdleUntilTheOperatorChoosesOne) {
    // A matrix without a name is not the one an empty choice stands for.
    std::string matrices = PageMatrices();
    matrices.insert(matrices.rfind("</MATRIXLIST>"), "<MATRIX type=\"AV\"><CHANNEL count=\"2\" /></MATRIX>\n");
    Start(MatrixPage(7, 0, 0, -1, -1), matrices);
    EXPECT_EQ(page->GetCurrentMatrix(), nullptr);
    EXPECT_EQ(Text(*page, kMatrixCombo), "");
    EXPECT_FALSE(Enabled(*page, Button(1)) || Enabled(*page, kNext) || Enabled(*page, kOpenPort));
    EXPECT_EQ(StoredItems()[0], 7);

    Choose(*page, kMatrixCombo, 0);
    EXPECT_NE(page->GetCurrentMatrix(), nullptr);
    EXPECT_TRUE(Enabled(*page, Button(1)) && Enabled(*page, Button(20)) && Enabled(*page, kNext));
    EXPECT_EQ(Text(*page, Button(1)), "Door");
    EXPECT_EQ(StoredItems(), (std::array<int, 5>{0, 0, 0, -1, -1}));
}
