#include "tests/ui/PageFixture.h"

#include "ui/banner/PageMatrix.h"
#include "ui/banner/PageScene.h"
#include "ui/forms/DialogFields.h"
#include "ui/wall/LcdGridCtrl.h"

#include "core/MatrixMgr.h"
#include "core/SceneModel.h"
#include "core/WallModel.h"
#include "platform/gui/controls/ComboBox.h"
#include "platform/os/Gbk.h"

#include <tinyxml.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <numeric>
#include <optional>

namespace {

constexpr int kSceneCombo = 1072;
constexpr int kSave = 1069;
constexpr int kLoad = 1070;
constexpr int kRename = 1071;
constexpr int kRecord = 1082;
constexpr int kCodeSceneSave = 160;
constexpr int kCodeSceneLoad = 161;
constexpr UINT kQuestion = MB_OKCANCEL | MB_ICONQUESTION;

const char kMatrixPage[] = "<MATRIXPAGE itemX1=\"0\" item02=\"0\" item12=\"0\" item22=\"0\" item32=\"0\" />\n";
const std::string kScenes = std::string("<SCENE>\n<ITEM id=\"1\" name=\"S1\" left=\"1\" top=\"1\" right=\"1\" "
                                        "bottom=\"1\" />\n<ITEM id=\"2\" name=\"S2\" left=\"1\" top=\"1\" right=\"2\" "
                                        "bottom=\"3\" />\n</SCENE>\n") +
                            kMatrixPage;

class PageSceneTest : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        Build(WithSections(SettingsFile(2, 3), kScenes), MatrixFile());
    }
    // The wall with its files, the port open, and both pages.
    void Build(const std::string& settings, const std::string& matrices) {
        BuildWallWith(settings, matrices);
        OpenPort();
        scene.emplace(view);
        matrix.emplace(view);
        host.emplace(std::initializer_list<CPropertyPage*>{&*scene, &*matrix});
        ASSERT_TRUE(scene->GetSafeHwnd());
        model = CWallModel::GetInstance()->GetSceneModel();
    }
    void DestroyPages() override {
        host.reset();
        matrix.reset();
        scene.reset();
    }
    std::vector<std::string> Names() { return Entries(*scene, kSceneCombo); }
    std::vector<std::string> NamesWith(std::initializer_list<const char*> first) {
        std::vector<std::string> names(first.begin(), first.end());
        names.resize(20);
        return names;
    }
    // The scene's element in the settings file on disk.
    const TiXmlElement* StoredScene(int id) {
        EXPECT_TRUE(m_file.LoadFile((wall.dir.Dir().Path() + "/system.xml").c_str()));
        for (const TiXmlElement* item = m_file.RootElement()->FirstChildElement("SCENE")->FirstChildElement("ITEM");
             item; item = item->NextSiblingElement("ITEM")) {
            int itemId = 0;
            item->QueryIntAttribute("id", &itemId);
            if (itemId == id)
                return item;
        }
        return nullptr;
    }
    // Records one switch made on the matrix page, and stops.
    void RecordSwitch(int button) {
        Click(*scene, kRecord);
        host->Show(&*matrix);
        Select(0, 0, 0, 1);
        Click(*matrix, 1154 + button);
        host->Show(&*scene);
        Click(*scene, kRecord);
        Sent();
    }

    std::optional<CPageScene> scene;
    std::optional<CPageMatrix> matrix;
    std::optional<PageHost> host;
    CSceneModel* model = nullptr;

private:
    TiXmlDocument m_file;
};

// A wall of 3 x 4 units whose matrix switch follows itself for ever with the longest pause a file can ask for, and
// a scene of a switch for each unit.
class EndlessFollowUps : public PageSceneTest {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        std::string matrices = MatrixFile();
        const std::string sw = "<MESSAGE name=\"SW\"";
        matrices.replace(matrices.find(sw), sw.size(), sw + " followup_item=\"SW\" followup_delay=\"2147483647\"");
        std::string switches;
        for (int output = 1; output <= 12; ++output)
            switches += "<MATRIXREC matrix=\"M1\" msg=\"SW\" input=\"3\" output=\"" + std::to_string(output) +
                        "\" port=\"COM5\" />";
        Build(WithSections(SettingsFile(3, 4), "<SCENE><ITEM id=\"1\" name=\"S1\" left=\"1\" top=\"1\" right=\"3\" "
                                               "bottom=\"4\">" +
                                                   switches + "</ITEM></SCENE>\n" + kMatrixPage),
              matrices);
    }
    // How long the interface waits while the operator acts: the pauses as long as they were asked to last, and
    // the time everything else took.
    long long WaitedMs(const std::function<void()>& act) {
        pauses.clear();
        const auto start = std::chrono::steady_clock::now();
        act();
        const auto took = std::chrono::steady_clock::now() - start;
        return std::accumulate(pauses.begin(), pauses.end(), 0LL) +
               std::chrono::duration_cast<std::chrono::milliseconds>(took).count();
    }
};

} // namespace

TEST_F(EndlessFollowUps, AClickOrASceneLoadKeepsTheInterfaceWaitingHalfAMinuteAtMostAndTellsOnceWhatItLeftOut) {
    // Every unit is switched, the first with as many follow-ups as fit; the signal follows the settling.
    host->Show(&*matrix);
    Select(0, 0, 2, 3);
    const long long click = WaitedMs([&] { Click(*matrix, 1157); });
    EXPECT_LE(click, 30000);
    std::vector<unsigned char> expected = Join({SwitchFrame(3, 1), SwitchFrame(3, 1), SwitchFrame(3, 1)});
    for (int output = 2; output <= 12; ++output)
        expected = Join({expected, SwitchFrame(3, output)});
    EXPECT_EQ(Sent(), Join({expected, ShortFrame(0x11, 0x34, kCodeVga, 0)}));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].type, MB_OK | MB_ICONWARNING);
    EXPECT_NE(boxes.Boxes()[0].text.find("12 matrix switches were not sent in full"), std::string::npos)
        << boxes.Boxes()[0].text;

    host->Show(&*scene);
    view->ResetSelectedRange();
    const long long load = WaitedMs([&] { Click(*scene, kLoad); });
    EXPECT_LE(load, 30000);
    EXPECT_EQ(Sent(), Join({ShortFrame(0x11, 0x34, kCodeSceneLoad, 1), expected}));
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text, boxes.Boxes()[0].text);
    std::printf("the interface waited %lld ms for the click on 12 units, %lld ms for the scene load\n", click, load);
}

TEST_F(PageSceneTest, SwitchesRecordedOnTheMatrixPageAreSavedLoadedAndTheSceneRenamed) {
    EXPECT_EQ(Names(), NamesWith({"S1", "S2"}));
    EXPECT_EQ(Text(*scene, kSceneCombo), "S1");
    EXPECT_EQ(scene->GetSelectedScene(), 0);
    EXPECT_EQ(Text(*scene, kRecord), "Record");

    Click(*scene, kRecord);
    EXPECT_EQ(Text(*scene, kRecord), "Stop");
    host->Show(&*matrix);
    Select(0, 0, 0, 1);
    Click(*matrix, 1157);
    Sent();
    host->Show(&*scene);
    Click(*scene, kRecord);
    EXPECT_EQ(Text(*scene, kRecord), "Record");
    EXPECT_EQ(model->GetRecordsEnd(), 2u);

    // Saved on the selected units with both switches, and no question asked.
    Click(*scene, kSave);
    EXPECT_EQ(Sent(), ShortFrame(0x11, 0x12, kCodeSceneSave, 1));
    const TiXmlElement* saved = StoredScene(1);
    ASSERT_NE(saved, nullptr);
    EXPECT_STREQ(saved->Attribute("left"), "1");
    EXPECT_STREQ(saved->Attribute("top"), "1");
    EXPECT_STREQ(saved->Attribute("right"), "1");
    EXPECT_STREQ(saved->Attribute("bottom"), "2");
    int output = 1;
    for (const TiXmlElement* rec = saved->FirstChildElement("MATRIXREC"); rec;
         rec = rec->NextSiblingElement("MATRIXREC"), ++output) {
        EXPECT_STREQ(rec->Attribute("matrix"), "M1");
        EXPECT_STREQ(rec->Attribute("msg"), "SW");
        EXPECT_STREQ(rec->Attribute("port"), "COM5");
        EXPECT_STREQ(rec->Attribute("input"), "3");
        EXPECT_EQ(rec->Attribute("output"), std::to_string(output));
    }
    EXPECT_EQ(output, 3);
    EXPECT_EQ(model->GetRecordsEnd(), 0u);

    // Loaded: the units are told, then the switches go out again as recorded.
    view->ResetSelectedRange();
    Click(*scene, kLoad);
    EXPECT_EQ(Sent(), Join({ShortFrame(0x11, 0x12, kCodeSceneLoad, 1), SwitchFrame(3, 1), SwitchFrame(3, 2)}));

    // The second slot chosen and given a name of its own.
    Choose(*scene, kSceneCombo, 1);
    EXPECT_EQ(scene->GetSelectedScene(), 1);
    Type(*scene, kSceneCombo, "Night");
    Click(*scene, kRename);
    EXPECT_EQ(Names(), NamesWith({"S1", "Night"}));
    EXPECT_EQ(Text(*scene, kSceneCombo), "Night");
    EXPECT_EQ(ComboSelection(&*scene, kSceneCombo), 1);
    ASSERT_NE(StoredScene(2), nullptr);
    EXPECT_STREQ(StoredScene(2)->Attribute("name"), "Night");
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(PageSceneTest, SavingNothingAndLoadingOverUnsavedSwitchesGoOnlyWhenTheOperatorSaysSo) {
    Select(0, 0, 0, 0);
    const std::string before = wall.dir.Read("system.xml");
    {
        MessageBoxRecorder cancel(IDCANCEL);
        Click(*scene, kSave);
        ASSERT_EQ(cancel.Boxes().size(), 1u);
        EXPECT_EQ(cancel.Boxes()[0].text, "he matrix record list is empty,if save it will clear the choosed\n matrix "
                                          "Command , are you sure for saving?");
        EXPECT_EQ(cancel.Boxes()[0].type, kQuestion);
    }
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(wall.dir.Read("system.xml"), before);

    Click(*scene, kSave);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(Sent(), ShortFrame(0x11, 0x11, kCodeSceneSave, 1));
    ASSERT_NE(StoredScene(1), nullptr);
    EXPECT_EQ(StoredScene(1)->FirstChildElement("MATRIXREC"), nullptr);

    // Pending switches: Cancel keeps them and loads nothing; OK drops them and loads.
    RecordSwitch(4);
    EXPECT_EQ(model->GetRecordsEnd(), 2u);
    {
        MessageBoxRecorder cancel(IDCANCEL);
        Click(*scene, kLoad);
        ASSERT_EQ(cancel.Boxes().size(), 1u);
        EXPECT_EQ(cancel.Boxes()[0].text, "The matrix command list is not empty,are you sure to clear it and load?");
        EXPECT_EQ(cancel.Boxes()[0].type, kQuestion);
    }
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(model->GetRecordsEnd(), 2u);
    Click(*scene, kLoad);
    EXPECT_EQ(Sent(), ShortFrame(0x11, 0x11, kCodeSceneLoad, 1));
    EXPECT_EQ(model->GetRecordsEnd(), 0u);

    // Recording over pending switches: Cancel leaves it off, OK goes on and keeps them.
    RecordSwitch(5);
    {
        MessageBoxRecorder cancel(IDCANCEL);
        Click(*scene, kRecord);
        ASSERT_EQ(cancel.Boxes().size(), 1u);
        EXPECT_EQ(cancel.Boxes()[0].text, Utf8ToGbkLiteral("尚有矩阵命令未保存，是否继续录制 ?"));
    }
    EXPECT_FALSE(model->IsRecording());
    EXPECT_EQ(Text(*scene, kRecord), "Record");
    Click(*scene, kRecord);
    EXPECT_TRUE(model->IsRecording());
    EXPECT_EQ(Text(*scene, kRecord), "Stop");
    EXPECT_EQ(model->GetRecordsEnd(), 2u);

    // With nothing selected there is nothing to save the scene on.
    Click(*scene, kRecord);
    view->ResetSelectedRange();
    const size_t shown = boxes.Boxes().size();
    Click(*scene, kSave);
    ASSERT_EQ(boxes.Boxes().size(), shown + 1);
    EXPECT_EQ(boxes.Boxes().back().text, "Please choose panel\xA3\xA1");
    EXPECT_TRUE(Sent().empty());
}

TEST_F(PageSceneTest, ARenameTheScenesRefuseLeavesTheNamesAsTheyWere) {
    const std::string before = wall.dir.Read("system.xml");
    Choose(*scene, kSceneCombo, 1);
    for (const char* name : {"", "S1"}) {
        Type(*scene, kSceneCombo, name);
        Click(*scene, kRename);
        ASSERT_FALSE(boxes.Boxes().empty());
        EXPECT_EQ(boxes.Boxes().back().text, Utf8ToGbkLiteral("参数非法！")) << name;
        EXPECT_EQ(boxes.Boxes().back().type & MB_ICONMASK, MB_ICONERROR);
        EXPECT_EQ(Names(), NamesWith({"S1", "S2"})) << name;
        EXPECT_EQ(model->GetSceneName(2), "S2");
    }
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(wall.dir.Read("system.xml"), before);

    // A slot the settings file holds no scene for cannot take a name either.
    Choose(*scene, kSceneCombo, 2);
    Type(*scene, kSceneCombo, "New");
    Click(*scene, kRename);
    ASSERT_EQ(boxes.Boxes().size(), 3u);
    EXPECT_EQ(boxes.Boxes().back().text, Utf8ToGbkLiteral("发生错误！"));
    EXPECT_EQ(Names(), NamesWith({"S1", "S2"}));
    EXPECT_EQ(wall.dir.Read("system.xml"), before);

    // A page that is gone hears of no rename.
    DestroyPages();
    EXPECT_EQ(model->RenameScene(0, "Morning"), 0);
}
