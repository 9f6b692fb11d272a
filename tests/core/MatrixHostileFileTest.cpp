#include "tests/core/MatrixFixture.h"

#include <chrono>

namespace {

std::string Repeat(const std::string& piece, int times) {
    std::string s;
    s.reserve(piece.size() * static_cast<size_t>(times));
    for (int i = 0; i < times; ++i)
        s += piece;
    return s;
}

std::string Nested(const std::string& tag, int depth, const std::string& inner) {
    return Repeat("<" + tag + ">", depth) + inner + Repeat("</" + tag + ">", depth);
}

} // namespace

// Files an operator might break, or someone might hand over, must never crash, overrun or hang a send.
using HostileMatrixFile = MatrixFixture;

TEST_F(HostileMatrixFile, OverLongTextsAndMessagesAreNeverSent) {
    const std::string huge(100000, 'Z');
    LoadMatrices("<MATRIX name=\"" + huge + "\" type=\"" + huge + "\"><SIGNAL type=\"" + huge + "\"/></MATRIX>" +
                 OnWall("<MESSAGE name=\"text\"><BYTES type=\"alpha\">" + huge +
                        "</BYTES></MESSAGE>"
                        "<MESSAGE name=\"hex\"><BYTES type=\"hex\">" +
                        std::string(100000, 'F') + "</BYTES><BYTES type=\"number\">" + std::string(5000, '9') +
                        "</BYTES></MESSAGE>"
                        "<MESSAGE name=\"wide\">" +
                        Repeat("<IN type=\"alpha\" width=\"32\"/>", 5000) +
                        "</MESSAGE>"
                        "<MESSAGE name=\"many\">" +
                        Repeat("<OUT/>", 129) +
                        "</MESSAGE>"
                        "<MESSAGE name=\"width\"><IN type=\"alpha\" width=\"2147483647\"/>"
                        "<OUT type=\"alpha\" width=\"-2147483648\"/></MESSAGE>"
                        "<MESSAGE name=\"wall\">" +
                        Repeat("<CHKXOR from=\"-2147483648\" to=\"2147483647\"/>", 128) + "</MESSAGE>"));
    OpenWallPort();
    EXPECT_EQ(manager->SetMatrix("M", "text", 1, 1), 0);
    EXPECT_EQ(manager->SetMatrix("M", "wide", 1, 1), 0);
    EXPECT_EQ(manager->SetMatrix("M", "many", 1, 1), 0);
    EXPECT_EQ(manager->SetMatrix("M", "width", 1, 1), 0);
    EXPECT_TRUE(wallPty.ReadAvailable().empty()) << "a message that does not fit goes out not at all";

    EXPECT_EQ(manager->SetMatrix("M", "hex", 1, 1), 0);
    EXPECT_EQ(wallPty.ReadAvailable(), Hex("FF FF"));
    EXPECT_EQ(manager->SetMatrix("M", "wall", 1, 1), 0);
    EXPECT_EQ(wallPty.ReadAvailable(), Bytes(128, 0x00));

    CMatrix* first = manager->GetAt(manager->Begin());
    EXPECT_EQ(first->GetName().size(), huge.size());
    std::string type, grow;
    first->GetSignal(type, grow);
    EXPECT_EQ(type, huge);
}

TEST_F(HostileMatrixFile, DeepTreesAreRefusedOrReadWithoutRunningOutOfStack) {
    LoadMatrices(Nested("MATRIX", 100000, ""));
    EXPECT_EQ(manager->Begin(), manager->End());

    // Deep, but within what the parser may take: the nesting below a segment is simply not read.
    LoadMatrices(OnWall("<MESSAGE name=\"deep\"><IN>" + Nested("do", 200, "") + "</IN><OUT/></MESSAGE>"));
    EXPECT_EQ(Build("M", "deep", 1, 2), Hex("01 02"));
}

TEST_F(HostileMatrixFile, WideTreesLoadAndSend) {
    std::string channels = "<CHANNEL count=\"2147483647\">";
    for (int i = 0; i < 5000; ++i)
        channels += "<ITEM id=\"" + std::to_string(i * 7919 - 50000) + "\" name=\"c\"/>";
    channels += "</CHANNEL>";
    LoadMatrices(Repeat(OnWall("<MESSAGE name=\"sw\"><IN>" + Repeat("<do plus=\"1\"/>", 300) + "</IN></MESSAGE>" +
                               Repeat("<MESSAGE name=\"x\"/>", 200) + channels),
                        5));
    size_t count = 0;
    for (auto p = manager->Begin(); p != manager->End(); p = CMatrix::NextMessage(p))
        ++count;
    EXPECT_EQ(count, 5u);
    OpenWallPort();
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(manager->SetMatrix("M", "sw", 0, 0), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(wallPty.ReadAvailable(), Hex("2C"));
    EXPECT_EQ(Matrix("M")->GetChannelTable()->GetName(2147483647), "2147483647");
}

TEST_F(HostileMatrixFile, NumbersThatAreNoNumbersTakeTheirDefaults) {
    LoadMatrices("<MATRIX name=\"P\" type=\"\"><COMM indep=\"true\" port=\"\" baudrate=\"fast\" databit=\"\" "
                 "stopbit=\"99999999999\" parity=\"-\"/><CHANNEL count=\"many\"/>"
                 "<MESSAGE name=\"a\" followup_item=\"a\" followup_delay=\"99999999999\"><IN><do plus=\"\"/>"
                 "<do div=\"-\"/><do and=\"+-1\"/></IN><CHKPLUS from=\"x\" to=\"-\"/></MESSAGE>"
                 "<MESSAGE name=\"b\" followup_item=\"a\" followup_delay=\"2147483647\"/></MATRIX>");
    CMatrix* p = Matrix("P");
    ASSERT_NE(p, nullptr);
    BOOL own = FALSE;
    CCommPortSetting* port = p->GetPort(own);
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(std::vector<int>({port->m_baudRate, port->m_dataBits, port->m_stopBits, port->m_parity}),
              std::vector<int>({9600, 8, 0, 0}));
    EXPECT_EQ(p->GetChannelTable()->GetCount(), 0);
    EXPECT_EQ(p->MessageAt(0)->GetFollowupDelay(), 0);
    EXPECT_EQ(Build("P", "a", 5, 0), Hex("00 00")) << "and 0: the operand of a do that is no number";

    // A port name that leads nowhere fails to open; sending then fails cleanly.
    EXPECT_FALSE(port->Open("\\\\.\\" + port->m_portName, 9600, 8, 0, 0));
    EXPECT_EQ(manager->SetMatrix("P", "a", 5, 0), 16);
}

TEST_F(HostileMatrixFile, ALoopingChainWithLongDelaysStillEnds) {
    LoadMatrices(OnWall("<MESSAGE name=\"a\" followup_item=\"b\" followup_delay=\"2147483647\"><IN/></MESSAGE>"
                        "<MESSAGE name=\"b\" followup_item=\"a\" followup_delay=\"-2147483648\"><OUT/></MESSAGE>"));
    OpenWallPort();
    EXPECT_EQ(manager->SetMatrix("M", "a", 1, 2), 0);
    ASSERT_FALSE(pauses.empty());
    EXPECT_EQ(pauses[0], 2147483647u);
    EXPECT_EQ(pauses[1], 0u);
    EXPECT_EQ(wallPty.ReadAvailable().size(), pauses.size() + 1);
}
