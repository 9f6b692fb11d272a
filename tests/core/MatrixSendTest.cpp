#include "tests/core/MatrixFixture.h"

#include "core/SendBudget.h"

#include <chrono>

using MatrixSend = MatrixFixture;

TEST_F(MatrixSend, WorkedExamplesGoOutByteForByte) {
    LoadMatrices(OnWall("<MESSAGE name=\"xor\"><BYTES type=\"hex\">A5</BYTES><IN/><OUT/><CHKXOR from=\"0\" to=\"2\"/>"
                        "</MESSAGE><MESSAGE name=\"plus\"><BYTES type=\"hex\">A5</BYTES><IN/><OUT/>"
                        "<CHKPLUS from=\"0\" to=\"2\"/></MESSAGE><MESSAGE name=\"low\"><IN/></MESSAGE>"
                        "<MESSAGE name=\"high\"><HIGHIN><do div=\"256\"/></HIGHIN></MESSAGE>"
                        "<MESSAGE name=\"alpha\"><IN type=\"alpha\" width=\"3\"/></MESSAGE>"
                        "<MESSAGE name=\"hex\"><OUT type=\"hex\"/></MESSAGE>"
                        "<MESSAGE name=\"text\"><BYTES type=\"alpha\">AB</BYTES></MESSAGE>"
                        "<MESSAGE name=\"number\"><BYTES type=\"number\">171</BYTES></MESSAGE>"
                        "<MESSAGE name=\"untyped\"><BYTES>FF</BYTES></MESSAGE>"));
    OpenWallPort();
    struct {
        const char* message;
        int input, output;
        Bytes expected;
    } const cases[] = {
        {"xor", 3, 4, Hex("A5 03 04 A2")}, {"plus", 3, 4, Hex("A5 03 04 AC")}, {"low", 300, 0, Hex("2C")},
        {"high", 300, 0, Hex("01")},       {"alpha", 7, 0, Text("007")},       {"hex", 0, 26, Text("1A")},
        {"text", 0, 0, Text("AB")},        {"number", 0, 0, Hex("AB")},        {"untyped", 9, 9, Hex("00")},
        {"alpha", 300, 0, Text("300")},    {"alpha", 300, 0, Text("300")},     {"XOR", 3, 4, Bytes()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(manager->SetMatrix("M", c.message, c.input, c.output), 0) << c.message;
        EXPECT_EQ(wallPty.ReadAvailable(), c.expected) << c.message;
    }
}

TEST_F(MatrixSend, PortsOwnAndRemembered) {
    LoadMatrices(OnWall("<MESSAGE name=\"sw\"><IN/><OUT/></MESSAGE>") +
                 OnOwnPort("<MESSAGE name=\"sw\" followup_item=\"sw\"><IN/></MESSAGE>"));
    CMatrix* m = Matrix("M");
    BOOL own = TRUE;
    EXPECT_EQ(m->GetPort(own), nullptr);
    OpenWallPort();
    CCommPortSetting* wallPort = CWallModel::GetInstance()->GetCommPort();
    EXPECT_EQ(m->ExecuteCommand(1, 2, "sw"), 0);
    EXPECT_EQ(m->GetPort(own), wallPort);
    EXPECT_FALSE(own);

    // Taking a port of its own and dropping it, or dropping the remembered one, leaves the wall's alone.
    auto* ownPort = new CCommPortSetting;
    m->SetPort(TRUE, ownPort);
    EXPECT_EQ(m->GetPort(own), ownPort);
    EXPECT_TRUE(own);
    m->SetPort(FALSE, nullptr);
    EXPECT_EQ(m->ExecuteCommand(3, 4, "sw"), 0);
    m->SetPort(FALSE, nullptr);
    EXPECT_EQ(m->ExecuteCommand(5, 6, "sw"), 0);
    EXPECT_EQ(wallPty.ReadAvailable(), Hex("01 02 03 04 05 06"));

    // A closed own port sends nothing and ends the chain before its first pause.
    CMatrix* o = Matrix("OWN");
    EXPECT_EQ(o->ExecuteCommand(7, 0, "sw"), -1);
    EXPECT_TRUE(pauses.empty());
    OpenOwnPort(o);
    ownPty.CloseMaster(); // the other end went away: the write fails
    EXPECT_EQ(o->ExecuteCommand(7, 0, "sw"), -1);
    EXPECT_TRUE(pauses.empty());
    EXPECT_TRUE(wallPty.ReadAvailable().empty());
}

TEST_F(MatrixSend, FollowUpsComeAfterTheirPause) {
    LoadMatrices(OnWall("<MESSAGE name=\"A\" followup_item=\"B\" followup_delay=\"500\">"
                        "<BYTES type=\"hex\">AA</BYTES><IN/><OUT/></MESSAGE>"
                        "<MESSAGE name=\"B\"><BYTES type=\"hex\">BB</BYTES><IN/><OUT/></MESSAGE>"
                        "<MESSAGE name=\"lost\" followup_item=\"nowhere\" followup_delay=\"250\"><IN/></MESSAGE>"
                        "<MESSAGE name=\"big\" followup_item=\"B\"><BYTES type=\"alpha\">" +
                        std::string(40, 'x') +
                        "</BYTES></MESSAGE><MESSAGE name=\"none\" followup_item=\"empty\" followup_delay=\"-5\"/>"
                        "<MESSAGE name=\"empty\" followup_item=\"B\"/>"
                        "<MESSAGE name=\"ping\" followup_item=\"pong\" followup_delay=\"10\"><IN/></MESSAGE>"
                        "<MESSAGE name=\"pong\" followup_item=\"ping\"><OUT/></MESSAGE>"));
    OpenWallPort();
    std::vector<Bytes> beforePause;
    onPause = [&] { beforePause.push_back(wallPty.ReadAvailable(50)); };
    EXPECT_EQ(Matrix("M")->ExecuteCommand(7, 9, "A"), 0);
    EXPECT_EQ(beforePause, std::vector<Bytes>{Hex("AA 07 09")});
    EXPECT_EQ(wallPty.ReadAvailable(), Hex("BB 07 09"));

    // A follow-up that does not exist still costs its pause.
    EXPECT_EQ(Matrix("M")->ExecuteCommand(7, 9, "lost"), 0);
    EXPECT_EQ(pauses, (std::vector<DWORD>{500, 250}));
    onPause = nullptr;

    // A message too big to build fails the chain before anything goes out; an empty one is "sent"; a negative
    // delay counts as none.
    pauses.clear();
    EXPECT_EQ(Matrix("M")->ExecuteCommand(1, 2, "big"), -1);
    EXPECT_TRUE(pauses.empty());
    EXPECT_EQ(Matrix("M")->ExecuteCommand(1, 2, "none"), 0);
    EXPECT_EQ(pauses, (std::vector<DWORD>{0, 0}));
    EXPECT_EQ(wallPty.ReadAvailable(), Hex("BB 01 02"));

    // A chain that comes back to itself stops, without a pause after its last message.
    pauses.clear();
    EXPECT_EQ(Matrix("M")->ExecuteCommand(1, 2, "ping"), 0);
    Bytes sent = wallPty.ReadAvailable();
    ASSERT_GE(sent.size(), 3u);
    EXPECT_LE(sent.size(), 64u);
    EXPECT_EQ(pauses.size(), sent.size() - 1);
}

TEST_F(MatrixSend, EachPauseAndAllThePausesOfAChainAreBounded) {
    LoadMatrices(OnWall("<MESSAGE name=\"forever\" followup_item=\"B\" followup_delay=\"2147483647\"><IN/></MESSAGE>"
                        "<MESSAGE name=\"B\"><OUT/></MESSAGE>"
                        "<MESSAGE name=\"again\" followup_item=\"again\" followup_delay=\"4000\"><IN/></MESSAGE>"
                        "<MESSAGE name=\"limit\" followup_item=\"B\" followup_delay=\"10000\"><IN/></MESSAGE>"
                        "<MESSAGE name=\"quick\" followup_item=\"quick\" followup_delay=\"300\"><IN/></MESSAGE>"));
    OpenWallPort();
    EXPECT_EQ(manager->SetMatrix("M", "forever", 1, 2), 0);
    EXPECT_EQ(pauses, std::vector<DWORD>{10000});
    EXPECT_EQ(wallPty.ReadAvailable(), Hex("01 02"));

    // A message that follows itself stops before its pauses pass half a minute.
    pauses.clear();
    EXPECT_EQ(manager->SetMatrix("M", "again", 3, 0), 0);
    EXPECT_EQ(pauses, std::vector<DWORD>(7, 4000));
    EXPECT_EQ(wallPty.ReadAvailable(), Bytes(8, 0x03));

    pauses.clear();
    EXPECT_EQ(manager->SetMatrix("M", "limit", 5, 6), 0);
    EXPECT_EQ(pauses, std::vector<DWORD>{10000});
    EXPECT_EQ(wallPty.ReadAvailable(), Hex("05 06"));

    // Switches of one action share its budget, which counts real pauses as they last: a chain stops where its
    // next pause would no longer fit, and is counted cut short.
    SetPauseHandler(nullptr);
    CSendBudget budget(1100);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(manager->SetMatrix("M", "quick", 7, 0, &budget), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(wallPty.ReadAvailable(), Bytes(4, 0x07));
    EXPECT_EQ(budget.GetCutShort(), 1);
    EXPECT_FALSE(budget.Spent());
}
