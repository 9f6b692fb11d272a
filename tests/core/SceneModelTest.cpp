#include "core/SceneModel.h"
#include "core/CommPort.h"
#include "core/ErrorMessage.h"
#include "core/MatrixMgr.h"
#include "core/SystemConfig.h"
#include "core/WallModel.h"
#include "core/XmlLoad.h"
#include "platform/os/Pause.h"
#include "tests/support/Bytes.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WallOnPty.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

namespace {

// The wall and matrix "M" share the wall's port; "SW" sends A5, input, output; "WIDE" sends a 16-bit input,
// high byte first, and the output.
class Scenes : public ::testing::Test {
protected:
    void Start(const std::string& scenes) {
        wall.dir.Write("command.xml", "<C><CMD name=\"S-SAVE\" code=\"160\"/><CMD name=\"S-LOAD\" code=\"161\"/></C>");
        wall.dir.Write("matrix.xml",
                       "<MATRIXLIST><MATRIX name=\"M\"><MESSAGE name=\"SW\"><BYTES type=\"hex\">A5</BYTES>"
                       "<IN/><OUT/></MESSAGE>"
                       "<MESSAGE name=\"WIDE\"><HIGHIN><do div=\"256\"/></HIGHIN><IN/><OUT/></MESSAGE>"
                       "</MATRIX></MATRIXLIST>");
        wall.dir.Write("system.xml", "<SYSTEM><COMM port=\"COM5\"/><SCENE>" + scenes + "</SCENE></SYSTEM>");
        model = CWallModel::GetInstance();
        ASSERT_TRUE(wall.Open(model->GetCommPort()));
        scenes_ = model->GetSceneModel();
        matrices = model->GetMatrixMgr();
    }
    std::vector<std::vector<std::string>> Records() {
        std::vector<std::vector<std::string>> all;
        for (auto p = scenes_->GetRecordsBegin(); p != scenes_->GetRecordsEnd(); p = scenes_->NextRecord(p)) {
            MatrixRecord r = scenes_->GetRecord(p);
            all.push_back({r.matrix, r.msg, std::to_string(r.input), std::to_string(r.output), r.port});
        }
        return all;
    }
    TiXmlElement* SceneItem(const char* name) {
        reread.Clear();
        EXPECT_TRUE(reread.LoadFile(wall.dir.Dir().File("system.xml").c_str(), TIXML_ENCODING_LEGACY));
        for (TiXmlElement* item = reread.RootElement()->FirstChildElement("SCENE")->FirstChildElement("ITEM"); item;
             item = item->NextSiblingElement("ITEM"))
            if (item->Attribute("name") && std::string(item->Attribute("name")) == name)
                return item;
        return nullptr;
    }

    WallOnPty wall;
    CWallModel* model = nullptr;
    CSceneModel* scenes_ = nullptr;
    CMatrixMgr* matrices = nullptr;
    TiXmlDocument reread;
};

const char kTwoScenes[] = "<ITEM id=\"1\" name=\"Day\" left=\"1\" top=\"1\" right=\"2\" bottom=\"2\"/>"
                          "<ITEM id=\"3\" name=\"Night\" left=\"2\" top=\"1\" right=\"2\" bottom=\"3\">"
                          "<MATRIXREC matrix=\"M\" msg=\"SW\" port=\"COM9\" input=\"300\" output=\"2\"/>"
                          "<MATRIXREC matrix=\"Gone\" msg=\"SW\" port=\"COM9\" input=\"1\" output=\"1\"/>"
                          "<MATRIXREC matrix=\"M\" msg=\"SW\" port=\"COM9\" input=\"5\" output=\"6\"/>"
                          "</ITEM>";

} // namespace

TEST_F(Scenes, SlotsMirrorTheSettingsFile) {
    Start("<ITEM id=\"2\" name=\"A\" left=\"1\" top=\"2\" right=\"3\" bottom=\"4\"/>"
          "<ITEM id=\"4\" name=\"B\" right=\"9\"/><ITEM id=\"21\" name=\"X\"/><ITEM name=\"NoId\"/>");
    EXPECT_EQ(scenes_->GetMaxScenes(), 20);
    EXPECT_EQ(scenes_->GetSceneName(2), "A");
    EXPECT_EQ(scenes_->GetSceneName(4), "B");
    EXPECT_EQ(scenes_->GetSceneName(21), "");
    int id = 0;
    CRect area;
    EXPECT_EQ(scenes_->FindScene("B", id, area), 0);
    EXPECT_EQ(id, 4);
    EXPECT_EQ(area, CRect(1, 2, 9, 4)); // missing area values come from the item before
    EXPECT_EQ(scenes_->FindScene("", id, area), 0);
    EXPECT_EQ(id, 1); // the first slot without a name
    EXPECT_EQ(area, CRect(1, 1, 1, 1));
    EXPECT_EQ(scenes_->FindScene("NoId", id, area), -1);
}

TEST_F(Scenes, RecordingKeepsPendingSwitchesUntilForced) {
    Start(kTwoScenes);
    EXPECT_EQ(matrices->SetMatrix("M", "SW", 1, 1), 0); // not recording
    EXPECT_TRUE(Records().empty());

    EXPECT_EQ(scenes_->StartRecording(FALSE), 0);
    matrices->SetMatrix("M", "SW", 1, 2);
    matrices->SetMatrix("M", "SW", 3, 4);
    scenes_->StopRecording();
    EXPECT_EQ(scenes_->StartRecording(FALSE), 80);
    EXPECT_FALSE(scenes_->IsRecording());
    EXPECT_EQ(scenes_->StartRecording(TRUE), 0);
    matrices->SetMatrix("M", "SW", 5, 6);
    EXPECT_EQ(Records(),
              (std::vector<std::vector<std::string>>{
                  {"M", "SW", "1", "2", "COM5"}, {"M", "SW", "3", "4", "COM5"}, {"M", "SW", "5", "6", "COM5"}}));
}

TEST_F(Scenes, SavingWritesThePendingSwitchesInRecordingOrder) {
    Start(kTwoScenes);
    scenes_->StartRecording(FALSE);
    matrices->SetMatrix("M", "SW", 7, 1);
    matrices->SetMatrix("M", "SW", 8, 2);
    wall.pty.Read(6);
    EXPECT_EQ(scenes_->SaveScene("Night", CRect(1, 2, 3, 4)), 0);
    EXPECT_EQ(wall.pty.Read(6), Bytes({0xD5, 0x12, 0x34, 160, 3, 0xAA}));
    EXPECT_TRUE(Records().empty());
    EXPECT_TRUE(scenes_->IsRecording());

    TiXmlElement* night = SceneItem("Night");
    ASSERT_NE(night, nullptr);
    EXPECT_STREQ(night->Attribute("left"), "1");
    EXPECT_STREQ(night->Attribute("bottom"), "4");
    std::vector<std::string> inputs;
    for (TiXmlElement* rec = night->FirstChildElement(); rec; rec = rec->NextSiblingElement()) {
        EXPECT_STREQ(rec->Value(), "MATRIXREC");
        inputs.push_back(rec->Attribute("input"));
    }
    EXPECT_EQ(inputs, std::vector<std::string>({"7", "8"}));

    // Nothing pending: the scene keeps its area and loses its switches.
    EXPECT_EQ(scenes_->SaveScene("Day", CRect(2, 2, 2, 2)), 0);
    EXPECT_EQ(SceneItem("Day")->FirstChild(), nullptr);
    EXPECT_EQ(scenes_->SaveScene("Nobody", CRect(2, 2, 2, 2)), -1);
}

TEST_F(Scenes, SwitchesThatWouldTakeTheSettingsFileOverItsLimitStayPendingAndTheFileAsItWas) {
    // With 997 switches in "Day" the file holds 360,000 attributes, as many as it may.
    std::string night;
    for (int i = 0; i < 71000; ++i)
        night += "<MATRIXREC matrix=\"M\" msg=\"SW\" port=\"COM9\" input=\"1\" output=\"1\"/>";
    Start("<ITEM id=\"1\" name=\"Day\" left=\"1\" top=\"1\" right=\"2\" bottom=\"2\"/>"
          "<ITEM id=\"3\" name=\"Night\" left=\"1\" top=\"1\" right=\"2\" bottom=\"2\">" +
          night + "</ITEM><ITEM id=\"5\" name=\"X\"/>");
    MessageBoxRecorder boxes;
    const auto record = [&](int switches) {
        for (int i = 0; i < switches; ++i)
            scenes_->AppendRecord({"M", "SW", 1, 1, "COM5"});
    };
    record(997);
    EXPECT_EQ(scenes_->SaveScene("Day", CRect(1, 1, 2, 2)), 0);
    const std::string saved = wall.dir.Read("system.xml");
    record(998);
    EXPECT_EQ(scenes_->SaveScene("Day", CRect(2, 2, 2, 2)), kResultNotSaved);
    EXPECT_EQ(Records().size(), 998u);
    EXPECT_TRUE(wall.dir.Read("system.xml") == saved);
    int id = 0;
    CRect area;
    scenes_->FindScene("Day", id, area);
    EXPECT_EQ(area, CRect(1, 1, 2, 2));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Could not save \"" + wall.dir.Dir().File("system.xml") +
                                         "\": with this change it holds more than 360,000 attributes, over the "
                                         "limit. The change is not saved, and the file stays as it was.");

    // What is written next leaves the refused switches out.
    EXPECT_EQ(scenes_->RenameScene(4, "Y"), 0);
    EXPECT_NE(SceneItem("Y"), nullptr);
    TiXmlDocument doc;
    EXPECT_TRUE(LoadXmlFile(doc, wall.dir.Dir().File("system.xml")));
}

TEST_F(Scenes, LoadingSendsTheSceneThenItsSwitchesAndStopsAtTheFirstFailure) {
    Start(kTwoScenes);
    EXPECT_EQ(scenes_->LoadScene("Night", FALSE), -1); // the second switch names a matrix that is gone
    EXPECT_EQ(wall.pty.Read(9), Bytes({0xD5, 0x21, 0x23, 161, 3, 0xAA, 0xA5, 44, 2})); // the low byte of 300
    EXPECT_TRUE(wall.pty.ReadAvailable(50).empty());
    EXPECT_TRUE(Records().empty());
}

TEST_F(Scenes, LoadingWithForceDiscardsPendingSwitchesEvenForAnUnknownScene) {
    Start(kTwoScenes);
    scenes_->StartRecording(FALSE);
    matrices->SetMatrix("M", "SW", 1, 2);
    scenes_->StopRecording();
    EXPECT_EQ(scenes_->LoadScene("Day", FALSE), 80);
    EXPECT_EQ(Records().size(), 1u);
    EXPECT_EQ(scenes_->LoadScene("Unknown", TRUE), -1);
    EXPECT_TRUE(Records().empty());
}

TEST_F(Scenes, AReplayWhileRecordingDoesNotGrowTheListItReplays) {
    Start("<ITEM id=\"1\" name=\"Loop\"><MATRIXREC matrix=\"M\" msg=\"SW\" input=\"1\" output=\"2\"/>"
          "<MATRIXREC matrix=\"M\" msg=\"SW\" input=\"3\" output=\"4\"/></ITEM>");
    scenes_->StartRecording(FALSE);
    EXPECT_EQ(scenes_->LoadScene("Loop", FALSE), 0);
    EXPECT_EQ(wall.pty.Read(12), Bytes({0xD5, 0, 0, 161, 1, 0xAA, 0xA5, 1, 2, 0xA5, 3, 4})); // no area: 0
    EXPECT_TRUE(wall.pty.ReadAvailable(50).empty());
    EXPECT_TRUE(Records().empty());
}

TEST_F(Scenes, RenamingAnnouncesOnlyWhatReachedTheFile) {
    Start(kTwoScenes);
    std::vector<std::string> changes;
    scenes_->Register("SceneNameChange", this, [&](NotifyEvent* e) {
        auto* names = static_cast<SceneNameChangeEvent*>(e);
        changes.push_back(names->m_oldName + ">" + names->m_newName);
    });
    EXPECT_EQ(scenes_->RenameScene(2, "Dusk"), 0);
    EXPECT_EQ(changes, std::vector<std::string>({"Night>Dusk"}));
    EXPECT_NE(SceneItem("Dusk"), nullptr);

    // Slot 2 holds no scene in the file: the new name stands in memory only.
    EXPECT_EQ(scenes_->RenameScene(1, "Ghost"), -1);
    EXPECT_EQ(scenes_->GetSceneName(2), "Ghost");
    EXPECT_EQ(changes.size(), 1u);
    EXPECT_EQ(scenes_->RenameScene(20, "X"), 64);
    EXPECT_EQ(scenes_->RenameScene(-1, "X"), 64);
}

TEST_F(Scenes, SavingASceneTheFileDoesNotHoldKeepsTheSwitchesAndFails) {
    Start(kTwoScenes);
    scenes_->RenameScene(1, "Ghost");
    scenes_->StartRecording(FALSE);
    matrices->SetMatrix("M", "SW", 1, 2);
    wall.pty.Read(3);
    const std::string before = wall.dir.Read("system.xml");
    EXPECT_EQ(scenes_->SaveScene("Ghost", CRect(1, 1, 1, 1)), -1);
    EXPECT_EQ(Records().size(), 1u);
    EXPECT_TRUE(wall.pty.ReadAvailable(50).empty()); // the units were not told to save either
    EXPECT_EQ(wall.dir.Read("system.xml"), before);
}

TEST_F(Scenes, AFailedSceneCommandSendsNoSwitch) {
    Start(kTwoScenes);
    model->GetCommPort()->Close();
    EXPECT_EQ(scenes_->LoadScene("Night", FALSE), 16);
    EXPECT_EQ(scenes_->SaveScene("Day", CRect(2, 2, 2, 2)), 16);
    EXPECT_NE(SceneItem("Day"), nullptr);
    int id = 0;
    CRect area;
    scenes_->FindScene("Day", id, area);
    EXPECT_EQ(area, CRect(1, 1, 2, 2)); // unchanged
}

TEST_F(Scenes, WideSwitchesReplayWholeAndNegativeOnesAreSkipped) {
    Start("<ITEM id=\"1\" name=\"Wide\">"
          "<MATRIXREC matrix=\"M\" msg=\"WIDE\" input=\"300\" output=\"2\"/>"
          "<MATRIXREC matrix=\"M\" msg=\"WIDE\" input=\"-1\" output=\"2\"/>"
          "<MATRIXREC matrix=\"M\" msg=\"WIDE\" input=\"3\" output=\"-300\"/>"
          "<MATRIXREC matrix=\"M\" msg=\"WIDE\" input=\"65535\" output=\"4\"/></ITEM>"
          "<ITEM id=\"2\" name=\"Again\"/>");
    EXPECT_EQ(scenes_->LoadScene("Wide", FALSE), 0);
    EXPECT_EQ(wall.pty.Read(12), Bytes({0xD5, 0, 0, 161, 1, 0xAA, 0x01, 0x2C, 2, 0xFF, 0xFF, 4}));
    EXPECT_TRUE(wall.pty.ReadAvailable(50).empty());

    // Recorded, saved and replayed, a wide switch comes back as it went out.
    scenes_->StartRecording(FALSE);
    matrices->SetMatrix("M", "WIDE", 1025, 7);
    scenes_->StopRecording();
    ASSERT_EQ(scenes_->SaveScene("Again", CRect(1, 1, 1, 1)), 0);
    wall.pty.ReadAvailable(50);
    EXPECT_EQ(scenes_->LoadScene("Again", FALSE), 0);
    EXPECT_EQ(wall.pty.Read(9), Bytes({0xD5, 0x11, 0x11, 161, 2, 0xAA, 0x04, 0x01, 7}));
}

TEST_F(Scenes, ANameThatIsEmptyOrAnotherSlotsIsRefusedAndTheOldOneStays) {
    Start(kTwoScenes);
    std::vector<std::string> changes;
    scenes_->Register("SceneNameChange", this, [&](NotifyEvent* e) { changes.push_back(e->GetName()); });
    const std::string before = wall.dir.Read("system.xml");
    EXPECT_EQ(scenes_->RenameScene(2, ""), 64);
    EXPECT_EQ(scenes_->RenameScene(2, "Day"), 64);
    EXPECT_EQ(scenes_->RenameScene(5, "Night"), 64) << "an empty slot may not take a scene's name either";
    EXPECT_EQ(scenes_->GetSceneName(3), "Night");
    EXPECT_EQ(scenes_->GetSceneName(6), "");
    EXPECT_EQ(wall.dir.Read("system.xml"), before);
    EXPECT_TRUE(changes.empty());

    // Its own name again is no clash.
    EXPECT_EQ(scenes_->RenameScene(2, "Night"), 0);
    EXPECT_EQ(changes.size(), 1u);
    EXPECT_NE(SceneItem("Night"), nullptr);
}
