#include "core/WallModel.h"
#include "core/CommPort.h"
#include "core/CommandMap.h"
#include "core/MonitorModel.h"
#include "core/SystemConfig.h"
#include "tests/support/Bytes.h"
#include "tests/support/WallOnPty.h"

#include <gtest/gtest.h>

namespace {

std::string Commands(const std::string& body) { return "<COMMANDS>" + body + "</COMMANDS>"; }

const char kCommands[] = "<CMD name=\"VGA\" code=\"18\"/>"
                         "<CMD name=\"POWER-ON\" code=\"1\" param=\"1\"/>"
                         "<CMD name=\"YPBPR\" code=\"21\"/>"
                         "<CMD name=\"P-OPEN-WINDOW\" code=\"176\"/>";

class WallSenders : public ::testing::Test {
protected:
    void SetUp() override {
        wall.dir.Write("command.xml", Commands(kCommands));
        wall.dir.Write("system.xml", "<SYSTEM><COMM port=\"COM5\" baudrate=\"19200\" databit=\"8\" stopbit=\"0\" "
                                     "parity=\"0\"/></SYSTEM>");
        model = CWallModel::GetInstance();
        wall.Listen(model, {"VGA", "POWER-ON", "YPBPR", "P-OPEN-WINDOW"});
    }

    WallOnPty wall;
    CWallModel* model = nullptr;
};

} // namespace

TEST_F(WallSenders, StartUpReadsTheCommandsAndThePortSettingsOnce) {
    EXPECT_EQ(CWallModel::GetInstance(), model);
    EXPECT_EQ(CCommandMap::GetInstance()->Lookup("VGA").code, 18);
    CCommPortSetting* port = model->GetCommPort();
    EXPECT_EQ(port->m_portName, "COM5");
    EXPECT_EQ(port->m_baudRate, 19200);
    EXPECT_FALSE(port->IsOpen()); // only the operator opens it
}

TEST_F(WallSenders, SourceCommandYpbprCarriesItsThreeBytes) {
    ASSERT_TRUE(wall.Open(model->GetCommPort()));
    EXPECT_EQ(model->SendSourceCommand("YPBPR", 1, 2, 3), 0);
    EXPECT_EQ(wall.pty.Read(6), Bytes({0xD5, 0xFF, 0x01, 0x02, 0x03, 0xAA}));
    EXPECT_EQ(model->SendSourceCommand("VGA", 1, 2, 3), 0);
    EXPECT_EQ(wall.pty.Read(6), Bytes({0xD5, 0x00, 0x00, 18, 0x00, 0xAA}));
    EXPECT_TRUE(wall.Events().empty());
}

TEST_F(WallSenders, SendCommandRaisesItsEventOnlyAfterAGoodWrite) {
    const RECT block{1, 2, 3, 4};
    EXPECT_EQ(model->SendCommand("VGA", &block, 7), 16); // closed
    EXPECT_TRUE(wall.Events().empty());

    ASSERT_TRUE(wall.Open(model->GetCommPort()));
    EXPECT_EQ(model->SendShortCommand("VGA", &block, 7), 0);
    EXPECT_TRUE(wall.Events().empty());
    EXPECT_EQ(model->SendCommand("VGA", &block, 7), 0);
    EXPECT_EQ(wall.pty.Read(12), Bytes({0xD5, 0x12, 0x34, 18, 7, 0xAA, 0xD5, 0x12, 0x34, 18, 7, 0xAA}));
    EXPECT_EQ(wall.Events(), std::vector<std::string>({"VGA"}));

    // The line stops taking bytes: the write times out short.
    wall.pty.FillUntilFull();
    EXPECT_EQ(model->SendCommand("VGA", &block, 7), 16);
    EXPECT_EQ(wall.Events().size(), 1u);
}

TEST_F(WallSenders, CommandByteOverridesTheDefinitionsParam) {
    ASSERT_TRUE(wall.Open(model->GetCommPort()));
    EXPECT_EQ(model->SendCommand("POWER-ON", nullptr, 0x42), 0);
    EXPECT_EQ(model->SendCommandByte("POWER-ON", nullptr, 0x42), 0);
    EXPECT_EQ(wall.pty.Read(12), Bytes({0xD5, 0, 0, 1, 1, 0xAA, 0xD5, 0, 0, 1, 0x42, 0xAA}));
    EXPECT_EQ(wall.Events(), std::vector<std::string>({"POWER-ON"}));
}

TEST_F(WallSenders, WindowCommandSendsFifteenBytesAndItsEvent) {
    ASSERT_TRUE(wall.Open(model->GetCommPort()));
    const RECT wallRect{100, 50, 400, 250};
    const RECT area{1, 1, 4, 3};
    EXPECT_EQ(model->SendWindowCommand("P-OPEN-WINDOW", &wallRect, &area, 0), 0);
    EXPECT_EQ(wall.pty.Read(15),
              Bytes({0xD5, 0x11, 0x43, 176, 0, 0xAB, 0x00, 0x64, 0x00, 0x32, 0x01, 0x2C, 0x00, 0xC8, 0xAA}));
    EXPECT_EQ(wall.Events(), std::vector<std::string>({"P-OPEN-WINDOW"}));
}

TEST_F(WallSenders, SavedPortSettingsGoToTheRecordAndTheFileButNotToTheOpenPort) {
    EXPECT_EQ(model->SaveComm("COM6", 57600, 7, 2, 1), 0);
    EXPECT_EQ(model->GetCommPort()->m_portName, "COM6");
    EXPECT_EQ(model->GetCommPort()->m_parity, 1);
    EXPECT_NE(wall.dir.Read("system.xml")
                  .find("port=\"COM6\" baudrate=\"57600\" databit=\"7\" stopbit=\"2\" "
                        "parity=\"1\""),
              std::string::npos);
}

TEST_F(WallSenders, TheMonitorModelReadsTheCommandsAgain) {
    wall.dir.Write("command.xml", Commands("<CMD name=\"VGA\" code=\"99\"/>"));
    CMonitorModel monitor;
    EXPECT_EQ(CCommandMap::GetInstance()->Lookup("VGA").code, 99);
    EXPECT_EQ(CCommandMap::GetInstance()->Lookup("YPBPR").code, 21); // names never disappear
}

TEST(WallStartUp, WithoutACommSectionThePortStartsAt9600EightNoneOne) {
    WorkingDir dir;
    dir.Write("system.xml", "<SYSTEM><COMM port=\"COM2\"/></SYSTEM>");
    CCommPortSetting* port = CWallModel::GetInstance()->GetCommPort();
    EXPECT_EQ(port->m_portName, "COM2");
    EXPECT_EQ(std::vector<int>({port->m_baudRate, port->m_dataBits, port->m_stopBits, port->m_parity}),
              std::vector<int>({9600, 8, 0, 0}));
}

TEST(WallStartUp, TheSampleConfigurationDefinesEveryWallCommand) {
    WorkingDir dir;
    dir.CopySample("command.xml");
    dir.CopySample("system.xml");
    CWallModel::GetInstance();
    CCommandMap* map = CCommandMap::GetInstance();
    EXPECT_EQ(map->GetCount(), 100u);
    for (const char* name :
         {"POWER-ON", "UNITSHOW", "VD-AUTO-ADJUST", "WHITEBALANCE-GAIN-B-DEC", "O-FACTROY_RESET", "AD_TEMP_SET_50",
          "S-LOAD", "P-PIP-SOURCE-VIDEO2", "O-VERTICAL-ADJUST", "M-Pictureflip270", "M-getSrand"})
        EXPECT_NE(map->Lookup(name).code, 0) << name;
    EXPECT_EQ(map->GetCount(), 100u); // every lookup above found a definition
    std::string a, b, c, title;
    CSystemConfig::GetInstance()->LoadSystemInfo(a, b, c, title);
    EXPECT_FALSE(title.empty());
}
