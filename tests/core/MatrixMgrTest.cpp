#include "core/NotifyEvent.h"
#include "tests/core/MatrixFixture.h"
#include "tests/support/MessageBoxRecorder.h"

#include <filesystem>

namespace {

// Subscribes to the manager's events as the wall view and the pages do.
class Listener {
public:
    explicit Listener(CMatrixMgr& manager) {
        manager.Register("MatrixSet", this, &Listener::OnMatrixSet);
        manager.Register("MATRIX-CHANGE", this, &Listener::OnMatrixChange);
    }
    void OnMatrixSet(NotifyEvent* e) {
        std::string matrix, message, port;
        int input = 0, output = 0;
        static_cast<MatrixSetEvent*>(e)->GetFields(matrix, message, input, output, port);
        sets.push_back(matrix + "/" + message + " " + std::to_string(input) + ">" + std::to_string(output) + " " +
                       port);
    }
    void OnMatrixChange(NotifyEvent* e) {
        auto* change = static_cast<MatrixChangeEvent*>(e);
        changes.emplace_back(change->m_matrix, change->m_oldName);
    }
    std::vector<std::string> sets;
    std::vector<std::pair<CMatrix*, std::string>> changes;
};

} // namespace

using MatrixManager = MatrixFixture;

TEST_F(MatrixManager, OnlySwitchesThatWentOutAreAnnounced) {
    LoadMatrices(OnWall("<MESSAGE name=\"sw\"><IN/><OUT/></MESSAGE>") +
                 OnOwnPort("<MESSAGE name=\"sw\"><OUT/></MESSAGE>"));
    Listener listener(*manager);
    EXPECT_EQ(manager->SetMatrix("M", "none", 1, 2), 0) << "nothing to send, so nothing switched";
    EXPECT_EQ(manager->SetMatrix("m", "sw", 1, 2), -1);
    EXPECT_EQ(manager->SetMatrix("OWN", "sw", 1, 2), 16);
    EXPECT_EQ(manager->SetMatrix("M", "sw", 1, 2), 16) << "the wall's port is closed";
    OpenWallPort();
    OpenOwnPort(Matrix("OWN"));
    EXPECT_EQ(manager->SetMatrix("M", "sw", 3, 7), 0);
    EXPECT_EQ(manager->SetMatrix("OWN", "sw", 3, 7), 0);
    EXPECT_EQ(listener.sets, (std::vector<std::string>{"M/sw 3>7 COM3", "OWN/sw 3>7 COM5"}));
    EXPECT_EQ(wallPty.ReadAvailable(), Hex("03 07"));
    EXPECT_EQ(ownPty.ReadAvailable(), Hex("07"));
}

TEST_F(MatrixManager, ASaveThatCannotBeWrittenSaysSoAndStillAnnouncesTheChange) {
    LoadMatrices(OnWall(""));
    Listener listener(*manager);
    CMatrix* m = Matrix("M");
    m->SetName("M2");
    EXPECT_EQ(manager->SaveMatrix("M", m), 0);
    EXPECT_NE(dir.Read("matrix.xml").find("name=\"M2\""), std::string::npos);
    std::filesystem::remove(dir.Dir().File("matrix.xml"));
    std::filesystem::create_directory(dir.Dir().File("matrix.xml")); // something took the file's place
    MessageBoxRecorder boxes;
    EXPECT_EQ(manager->SaveMatrix("M2", m), -1);
    EXPECT_EQ(listener.changes, (std::vector<std::pair<CMatrix*, std::string>>{{m, "M"}, {m, "M2"}}));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Could not save \"" + dir.Dir().File("matrix.xml") +
                                         "\": Is a directory. The change holds until the program ends.");
    EXPECT_EQ(boxes.Boxes()[0].type, MB_ICONERROR);
}

TEST_F(MatrixManager, ASaveIntoABrokenFileLeavesItAndSaysWhy) {
    const std::string broken = "<MATRIXLIST><MATRIX name=\"M\"></MATRIXLIST>";
    dir.Write("matrix.xml", broken);
    Reload();
    CMatrix matrix("M", kSignalAv);
    MessageBoxRecorder boxes;
    EXPECT_EQ(manager->SaveMatrix("M", &matrix), -1);
    EXPECT_EQ(dir.Read("matrix.xml"), broken);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NE(boxes.Boxes()[0].text.find("matrix.xml\": it is not valid XML at line 1."), std::string::npos);
}

TEST_F(MatrixManager, TheSampleFileDrivesEveryKindOfMatrix) {
    dir.CopySample("matrix.xml");
    Reload();
    std::vector<std::string> names;
    for (auto p = manager->Begin(); p != manager->End(); p = CMatrix::NextMessage(p)) {
        CMatrix* m = manager->GetAt(p);
        names.push_back(m->GetName());
        for (auto q = m->MessagesBegin(); q != m->MessagesEnd(); q = CMatrix::NextMessage(q))
            EXPECT_TRUE(Build(m->MessageAt(q)->GetName(), 12, 34, m->GetName())) << m->MessageAt(q)->GetName();
    }
    ASSERT_EQ(names.size(), 4u);
    const std::string sw = "\xC7\xD0\xBB\xBB"; // "switch"
    EXPECT_EQ(Build(sw, 3, 4, names[0]), Hex("A5 02 03 A4"));
    EXPECT_EQ(Build(sw, 300, 1025, names[1]), Hex("EB 01 2C 04 01 32"));
    EXPECT_EQ(Build(sw, 3, 4, names[2]), Text("SW03,04\r"));

    OpenWallPort();
    EXPECT_EQ(manager->SetMatrix(names[3], sw, 3, 4), 0);
    EXPECT_EQ(pauses, std::vector<DWORD>{500});
    EXPECT_EQ(wallPty.ReadAvailable(), Hex("55 01 03 04 5D 55 02 03 04 5E"));
}

TEST_F(MatrixManager, TheWallModelsManagerIsMadeOnceFromTheCurrentFolder) {
    LoadMatrices(OnWall(""));
    CMatrixMgr* first = CWallModel::GetInstance()->GetMatrixMgr();
    EXPECT_EQ(first->GetAt(first->FindMatrix("M"))->GetName(), "M");
    EXPECT_EQ(CWallModel::GetInstance()->GetMatrixMgr(), first);
}
