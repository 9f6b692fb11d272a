#include "tests/core/MatrixFixture.h"

namespace {

const char kWorkedExamples[] = "<MESSAGE name=\"xor\"><BYTES type=\"hex\">A5</BYTES><IN/><OUT/>"
                               "<CHKXOR from=\"0\" to=\"2\"/></MESSAGE>"
                               "<MESSAGE name=\"plus\"><BYTES type=\"hex\">A5</BYTES><IN/><OUT/>"
                               "<CHKPLUS from=\"0\" to=\"2\"/></MESSAGE>"
                               "<MESSAGE name=\"low\"><IN/></MESSAGE>"
                               "<MESSAGE name=\"high\"><HIGHIN><do div=\"256\"/></HIGHIN></MESSAGE>"
                               "<MESSAGE name=\"alpha\"><IN type=\"alpha\" width=\"3\"/></MESSAGE>"
                               "<MESSAGE name=\"hex\"><OUT type=\"hex\"/></MESSAGE>"
                               "<MESSAGE name=\"text\"><BYTES type=\"alpha\">AB</BYTES></MESSAGE>"
                               "<MESSAGE name=\"number\"><BYTES type=\"number\">171</BYTES></MESSAGE>"
                               "<MESSAGE name=\"untyped\"><BYTES>FF</BYTES></MESSAGE>"
                               "<MESSAGE name=\"digits\"><IN type=\"alpha\"/></MESSAGE>";

} // namespace

using MatrixSend = MatrixFixture;

TEST_F(MatrixSend, WorkedExamplesGoOutByteForByte) {
    LoadMatrices(OnWall(kWorkedExamples));
    OpenWallPort();
    struct Case {
        const char* message;
        int input, output;
        Bytes expected;
    };
    const Case cases[] = {
        {"xor", 3, 4, Hex("A5 03 04 A2")}, {"plus", 3, 4, Hex("A5 03 04 AC")}, {"low", 300, 0, Hex("2C")},
        {"high", 300, 0, Hex("01")},       {"alpha", 7, 0, Hex("30 30 37")},   {"hex", 0, 26, Hex("31 41")},
        {"text", 0, 0, Hex("41 42")},      {"number", 0, 0, Hex("AB")},        {"untyped", 9, 9, Hex("00")},
        {"alpha", 300, 0, Text("300")},    {"alpha", 300, 0, Text("300")},     {"digits", 7, 0, Text("7")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(manager->SetMatrix("M", c.message, c.input, c.output), 0) << c.message;
        EXPECT_EQ(wallPty.ReadAvailable(), c.expected) << c.message;
    }
    EXPECT_TRUE(pauses.empty());
}

TEST_F(MatrixSend, AMatrixOnTheWallPortRemembersItAndNeverDeletesIt) {
    LoadMatrices(OnWall(kWorkedExamples));
    CMatrix* m = Matrix("M");
    BOOL own = TRUE;
    EXPECT_EQ(m->GetPort(own), nullptr);
    EXPECT_FALSE(own);

    OpenWallPort();
    CCommPortSetting* wallPort = CWallModel::GetInstance()->GetCommPort();
    EXPECT_EQ(m->ExecuteCommand(3, 4, "xor"), 0);
    EXPECT_EQ(m->GetPort(own), wallPort);
    EXPECT_FALSE(own);

    // Taking a port of its own and dropping it again leaves the wall's port alone.
    auto* ownPort = new CCommPortSetting;
    ownPort->SetSettings("COM5", 9600, 8, 0, 0);
    m->SetPort(TRUE, ownPort);
    EXPECT_EQ(m->GetPort(own), ownPort);
    EXPECT_TRUE(own);
    m->SetPort(FALSE, nullptr);
    EXPECT_EQ(m->GetPort(own), nullptr);
    EXPECT_TRUE(wallPort->IsOpen());

    EXPECT_EQ(m->ExecuteCommand(3, 4, "plus"), 0);
    EXPECT_EQ(wallPty.ReadAvailable(), Hex("A5 03 04 A2 A5 03 04 AC"));
    EXPECT_EQ(m->GetPort(own), wallPort);
    m->SetPort(FALSE, nullptr); // from the remembered wall port straight back to none
    EXPECT_TRUE(wallPort->IsOpen());
    EXPECT_EQ(m->ExecuteCommand(3, 4, "low"), 0);
    EXPECT_EQ(wallPty.ReadAvailable(), Hex("03"));
}

TEST_F(MatrixSend, AnOwnPortThatIsClosedSendsNothingAndEndsTheChain) {
    LoadMatrices(OnOwnPort("<MESSAGE name=\"A\" followup_item=\"B\" followup_delay=\"100\"><IN/></MESSAGE>"
                           "<MESSAGE name=\"B\"><OUT/></MESSAGE>"));
    OpenWallPort();
    CMatrix* m = Matrix("OWN");
    EXPECT_EQ(m->ExecuteCommand(1, 2, "A"), -1);
    EXPECT_TRUE(pauses.empty());
    EXPECT_TRUE(ownPty.ReadAvailable().empty());
    EXPECT_TRUE(wallPty.ReadAvailable().empty());

    OpenOwnPort(m);
    EXPECT_EQ(m->ExecuteCommand(1, 2, "A"), 0);
    EXPECT_EQ(ownPty.ReadAvailable(), Hex("01 02"));
    EXPECT_TRUE(wallPty.ReadAvailable().empty());
}

TEST_F(MatrixSend, AFollowUpComesAfterThePauseWithTheSameInputAndOutput) {
    LoadMatrices(OnWall("<MESSAGE name=\"A\" followup_item=\"B\" followup_delay=\"500\">"
                        "<BYTES type=\"hex\">AA</BYTES><IN/><OUT/></MESSAGE>"
                        "<MESSAGE name=\"B\"><BYTES type=\"hex\">BB</BYTES><IN/><OUT/></MESSAGE>"
                        "<MESSAGE name=\"lost\" followup_item=\"nowhere\" followup_delay=\"250\">"
                        "<BYTES type=\"hex\">CC</BYTES></MESSAGE>"));
    OpenWallPort();
    std::vector<Bytes> beforePause;
    onPause = [&] { beforePause.push_back(wallPty.ReadAvailable(50)); };

    EXPECT_EQ(Matrix("M")->ExecuteCommand(7, 9, "A"), 0);
    EXPECT_EQ(pauses, std::vector<DWORD>{500});
    EXPECT_EQ(beforePause, std::vector<Bytes>{Hex("AA 07 09")});
    EXPECT_EQ(wallPty.ReadAvailable(), Hex("BB 07 09"));

    // A follow-up that does not exist still costs its pause.
    pauses.clear();
    beforePause.clear();
    EXPECT_EQ(Matrix("M")->ExecuteCommand(7, 9, "lost"), 0);
    EXPECT_EQ(pauses, std::vector<DWORD>{250});
    EXPECT_EQ(beforePause, std::vector<Bytes>{Hex("CC")});
    EXPECT_TRUE(wallPty.ReadAvailable().empty());
}

TEST_F(MatrixSend, ChainsThatComeBackStopAndBadDelaysDoNotHang) {
    LoadMatrices(OnWall("<MESSAGE name=\"ping\" followup_item=\"pong\" followup_delay=\"10\"><IN/></MESSAGE>"
                        "<MESSAGE name=\"pong\" followup_item=\"ping\" followup_delay=\"-20\"><OUT/></MESSAGE>"
                        "<MESSAGE name=\"self\" followup_item=\"self\"><BYTES type=\"hex\">5A</BYTES></MESSAGE>"));
    OpenWallPort();
    EXPECT_EQ(Matrix("M")->ExecuteCommand(1, 2, "ping"), 0);
    Bytes sent = wallPty.ReadAvailable();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_LE(sent.size(), 64u);
    EXPECT_EQ(sent[0], 1);
    EXPECT_EQ(sent[1], 2);
    EXPECT_EQ(pauses.size(), sent.size() - 1) << "a pause between messages, none after the last";
    EXPECT_EQ(pauses[1], 0u) << "a negative delay counts as none";

    pauses.clear();
    EXPECT_EQ(Matrix("M")->ExecuteCommand(0, 0, "self"), 0);
    EXPECT_EQ(wallPty.ReadAvailable(), Bytes(sent.size(), 0x5A));
}

TEST_F(MatrixSend, AMessageThatIsNotBuiltIsSkippedAndItsFollowUpStillGoes) {
    LoadMatrices(OnWall("<MESSAGE name=\"big\" followup_item=\"empty\" followup_delay=\"5\">"
                        "<BYTES type=\"alpha\">" +
                        std::string(40, 'x') +
                        "</BYTES></MESSAGE>"
                        "<MESSAGE name=\"empty\" followup_item=\"last\"/>"
                        "<MESSAGE name=\"last\"><IN/></MESSAGE>"));
    OpenWallPort();
    EXPECT_EQ(Matrix("M")->ExecuteCommand(0x42, 0, "big"), 0);
    EXPECT_EQ(wallPty.ReadAvailable(), Hex("42"));
    EXPECT_EQ(pauses, (std::vector<DWORD>{5, 0}));
}

TEST_F(MatrixSend, AFailedWriteEndsTheChain) {
    LoadMatrices(OnWall("<MESSAGE name=\"A\" followup_item=\"B\" followup_delay=\"100\"><IN/></MESSAGE>"
                        "<MESSAGE name=\"B\"><OUT/></MESSAGE>"));
    CWallModel::GetInstance()->GetCommPort()->Close();
    EXPECT_EQ(Matrix("M")->ExecuteCommand(1, 2, "A"), -1);
    EXPECT_TRUE(pauses.empty());

    OpenWallPort();
    wallPty.CloseMaster(); // the other end went away
    EXPECT_EQ(Matrix("M")->ExecuteCommand(1, 2, "A"), -1);
    EXPECT_TRUE(pauses.empty());
}

TEST_F(MatrixSend, AMessageTheMatrixLacksSendsNothing) {
    LoadMatrices(OnWall(kWorkedExamples));
    OpenWallPort();
    EXPECT_EQ(Matrix("M")->ExecuteCommand(1, 2, "XOR"), 0); // names are compared exactly
    EXPECT_TRUE(wallPty.ReadAvailable().empty());
    BOOL own = FALSE;
    EXPECT_EQ(Matrix("M")->GetPort(own), nullptr);
}
