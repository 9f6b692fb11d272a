#include "core/NotifyEvent.h"
#include "tests/core/MatrixFixture.h"

#include <filesystem>

namespace {

struct SetRecord {
    std::string matrix, message, port;
    int input, output;
    bool operator==(const SetRecord& o) const {
        return matrix == o.matrix && message == o.message && port == o.port && input == o.input && output == o.output;
    }
};

std::ostream& operator<<(std::ostream& os, const SetRecord& r) {
    return os << r.matrix << "/" << r.message << " " << r.input << "->" << r.output << " on '" << r.port << "'";
}

// Subscribes to the manager's events as the wall view and the pages do.
class Listener {
public:
    explicit Listener(CMatrixMgr& manager) {
        manager.Register("MatrixSet", this, &Listener::OnMatrixSet);
        manager.Register("MATRIX-CHANGE", this, &Listener::OnMatrixChange);
    }
    void OnMatrixSet(NotifyEvent* e) {
        auto* set = static_cast<MatrixSetEvent*>(e);
        SetRecord r;
        set->GetFields(r.matrix, r.message, r.input, r.output, r.port);
        sets.push_back(r);
    }
    void OnMatrixChange(NotifyEvent* e) {
        auto* change = static_cast<MatrixChangeEvent*>(e);
        changes.emplace_back(change->m_matrix, change->m_oldName);
    }
    std::vector<SetRecord> sets;
    std::vector<std::pair<CMatrix*, std::string>> changes;
};

const char kTwoMatrices[] = "<MATRIX name=\"M\" type=\"VGA\"><MESSAGE name=\"sw\"><IN/><OUT/></MESSAGE></MATRIX>"
                            "<MATRIX name=\"OWN\" type=\"DVI\"><MESSAGE name=\"sw\"><OUT/><IN/></MESSAGE>"
                            "<COMM indep=\"true\" port=\"COM5\"/></MATRIX>";

} // namespace

using MatrixManager = MatrixFixture;

TEST_F(MatrixManager, ASwitchThatWentOutIsAnnouncedWithItsPort) {
    LoadMatrices(kTwoMatrices);
    Listener listener(*manager);
    OpenWallPort();
    OpenOwnPort(Matrix("OWN"));

    EXPECT_EQ(manager->SetMatrix("M", "sw", 3, 7), 0);
    EXPECT_EQ(manager->SetMatrix("OWN", "sw", 3, 7), 0);
    EXPECT_EQ(wallPty.ReadAvailable(), Hex("03 07"));
    EXPECT_EQ(ownPty.ReadAvailable(), Hex("07 03"));
    EXPECT_EQ(listener.sets, (std::vector<SetRecord>{{"M", "sw", "COM3", 3, 7}, {"OWN", "sw", "COM5", 3, 7}}));
}

TEST_F(MatrixManager, FailedSwitchesAreNotAnnounced) {
    LoadMatrices(kTwoMatrices);
    Listener listener(*manager);
    OpenWallPort();
    EXPECT_EQ(manager->SetMatrix("m", "sw", 1, 2), -1); // matrix names are exact
    EXPECT_EQ(manager->SetMatrix("OWN", "sw", 1, 2), 16);
    CWallModel::GetInstance()->GetCommPort()->Close();
    EXPECT_EQ(manager->SetMatrix("M", "sw", 1, 2), 16);
    EXPECT_TRUE(listener.sets.empty());
    EXPECT_TRUE(wallPty.ReadAvailable().empty());
    EXPECT_TRUE(ownPty.ReadAvailable().empty());
}

TEST_F(MatrixManager, AMissingMessageSendsNothingButIsAnnouncedWithThePortInUse) {
    LoadMatrices(kTwoMatrices);
    Listener listener(*manager);
    EXPECT_EQ(manager->SetMatrix("M", "none", 1, 2), 0);
    EXPECT_EQ(manager->SetMatrix("OWN", "none", 1, 2), 0) << "the closed own port is never reached";
    OpenWallPort();
    EXPECT_EQ(manager->SetMatrix("M", "sw", 1, 2), 0);
    EXPECT_EQ(manager->SetMatrix("M", "none", 4, 5), 0);
    EXPECT_EQ(listener.sets, (std::vector<SetRecord>{{"M", "none", "", 1, 2},
                                                     {"OWN", "none", "COM5", 1, 2},
                                                     {"M", "sw", "COM3", 1, 2},
                                                     {"M", "none", "COM3", 4, 5}}));
    EXPECT_EQ(wallPty.ReadAvailable(), Hex("01 02"));
}

TEST_F(MatrixManager, SavingAnnouncesTheChangeEvenWhenTheFileCannotBeWritten) {
    LoadMatrices(kTwoMatrices);
    Listener listener(*manager);
    CMatrix* m = Matrix("M");
    m->SetName("M2");
    EXPECT_EQ(manager->SaveMatrix("M", m), 0);
    EXPECT_NE(dir.Read("matrix.xml").find("name=\"M2\""), std::string::npos);

    // Something took the file's place: the save fails and says so, and the pages still learn of the change.
    std::filesystem::remove(dir.Dir().File("matrix.xml"));
    std::filesystem::create_directory(dir.Dir().File("matrix.xml"));
    m->SetName("M3");
    EXPECT_EQ(manager->SaveMatrix("M2", m), -1);
    EXPECT_EQ(listener.changes, (std::vector<std::pair<CMatrix*, std::string>>{{m, "M"}, {m, "M2"}}));
    EXPECT_EQ(Matrix("M3"), m);
    EXPECT_EQ(manager->SaveMatrix("M3", nullptr), 64);
    EXPECT_EQ(listener.changes.size(), 2u);
}

TEST_F(MatrixManager, PageSelectionsGoThroughTheSettingsFile) {
    dir.Write("system.xml", "<SYSTEM><MATRIXPAGE itemX1=\"2\" item02=\"1\" item12=\"-1\" item22=\"4\" "
                            "item32=\"-1\"/></SYSTEM>");
    LoadMatrices(kTwoMatrices);
    int x1 = 9, i0 = 9, i1 = 9, i2 = 9, i3 = 9;
    EXPECT_EQ(manager->GetMatrixPageItems(x1, i0, i1, i2, i3), 1);
    EXPECT_EQ(std::vector<int>({x1, i0, i1, i2, i3}), std::vector<int>({2, 1, -1, 4, -1}));
    EXPECT_EQ(manager->SetMatrixPageItems(1, 0, 3, -1, 2), 1);
    std::string written = dir.Read("system.xml");
    EXPECT_NE(written.find("itemX1=\"1\" item02=\"0\" item12=\"3\" item22=\"-1\" item32=\"2\""), std::string::npos)
        << written;
}

TEST_F(MatrixManager, TheSampleFileDrivesEveryKindOfMatrix) {
    dir.CopySample("matrix.xml");
    manager = std::make_unique<CMatrixMgr>(CWallModel::GetInstance());
    std::vector<std::string> names;
    for (auto p = manager->Begin(); p != manager->End(); p = CMatrix::NextMessage(p))
        names.push_back(manager->GetAt(p)->GetName());
    ASSERT_EQ(names.size(), 4u);
    const std::string vga = names[0], dvi = names[1], hdmi = names[2], av = names[3];

    // Every message of the sample builds.
    for (const std::string& name : names) {
        CMatrix* m = Matrix(name);
        for (auto p = m->MessagesBegin(); p != m->MessagesEnd(); p = CMatrix::NextMessage(p))
            EXPECT_TRUE(Build(name, m->MessageAt(p)->GetName(), 12, 34)) << m->MessageAt(p)->GetName();
    }
    const std::string sw = "\xC7\xD0\xBB\xBB"; // "switch" in GBK
    EXPECT_EQ(Build(vga, sw, 3, 4), Hex("A5 02 03 A4"));
    EXPECT_EQ(Build(dvi, sw, 300, 1025), Hex("EB 01 2C 04 01 32"));
    EXPECT_EQ(Build(hdmi, sw, 3, 4), Text("SW03,04\r"));
    EXPECT_EQ(Build(av, sw, 3, 4), Hex("55 01 03 04 5D"));

    BOOL own = FALSE;
    EXPECT_EQ(Matrix(vga)->GetPort(own), nullptr);
    ASSERT_NE(Matrix(dvi)->GetPort(own), nullptr);
    EXPECT_TRUE(own);
    EXPECT_EQ(Matrix(dvi)->GetPort(own)->m_portName, "COM2");
    EXPECT_EQ(Matrix(hdmi)->GetChannelTable()->GetName(2), "\xC0\xB6\xB9\xE2\xB2\xA5\xB7\xC5\xBB\xFA");
    std::string type, grow;
    Matrix(av)->GetSignal(type, grow);
    EXPECT_EQ(type, "YPBPR");

    // The follow-up of the AV matrix goes out after its pause.
    OpenWallPort();
    EXPECT_EQ(manager->SetMatrix(av, sw, 3, 4), 0);
    EXPECT_EQ(pauses, std::vector<DWORD>{500});
    EXPECT_EQ(wallPty.ReadAvailable(), Hex("55 01 03 04 5D 55 02 03 04 5E"));
}
