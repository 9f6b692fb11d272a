#include "tests/core/MatrixFixture.h"

#include <chrono>

namespace {

std::vector<int> Numbers(const CCommPortSetting* port) {
    return {port->m_baudRate, port->m_dataBits, port->m_stopBits, port->m_parity};
}

std::string Repeat(const std::string& piece, int times) {
    std::string s;
    for (int i = 0; i < times; ++i)
        s += piece;
    return s;
}

} // namespace

// Files someone broke or handed over must never crash, overrun or hang a send.
using HostileMatrixFile = MatrixFixture;

TEST_F(HostileMatrixFile, OverLongTextsAndMessagesAreNeverSent) {
    const std::string huge(100000, 'F');
    LoadMatrices("<MATRIX name=\"" + huge + "\" type=\"" + huge + "\"><SIGNAL type=\"" + huge + "\"/></MATRIX>" +
                 OnWall("<MESSAGE name=\"text\"><BYTES type=\"alpha\">" + huge +
                        "</BYTES></MESSAGE>"
                        "<MESSAGE name=\"wide\">" +
                        Repeat("<IN type=\"alpha\" width=\"32\"/>", 5000) +
                        "</MESSAGE>"
                        "<MESSAGE name=\"width\"><IN type=\"alpha\" width=\"2147483647\"/></MESSAGE>"
                        "<MESSAGE name=\"numbers\"><BYTES type=\"hex\">" +
                        huge + "</BYTES><BYTES type=\"number\">" + huge +
                        "</BYTES><OUT type=\"alpha\" width=\"-2147483648\"/></MESSAGE>"
                        "<MESSAGE name=\"ranges\">" +
                        Repeat("<CHKXOR from=\"-2147483648\" to=\"2147483647\"/>", 128) + "</MESSAGE>"));
    OpenWallPort();
    for (const char* name : {"text", "wide", "width"})
        EXPECT_EQ(manager->SetMatrix("M", name, 1, 1), 16) << "a message that does not fit is a failed send";
    EXPECT_TRUE(wallPty.ReadAvailable().empty()) << "a message that does not fit goes out not at all";
    EXPECT_EQ(manager->SetMatrix("M", "numbers", 1, 1), 0);
    EXPECT_EQ(manager->SetMatrix("M", "ranges", 1, 1), 0);
    Bytes expected = Hex("FF 00 31");
    expected.resize(3 + 128, 0x00);
    EXPECT_EQ(wallPty.ReadAvailable(), expected);
    EXPECT_EQ(manager->GetAt(0)->GetName(), huge);
}

TEST_F(HostileMatrixFile, DeepAndWideTreesLoadOrAreRefused) {
    LoadMatrices(Repeat("<MATRIX>", 100000) + Repeat("</MATRIX>", 100000));
    EXPECT_EQ(manager->Begin(), manager->End());

    std::string items;
    for (int i = 0; i < 5000; ++i)
        items += "<ITEM id=\"" + std::to_string(i * 7919 - 50000) + "\" name=\"c\"/>";
    LoadMatrices(Repeat(OnWall("<MESSAGE name=\"sw\"><IN>" + Repeat("<do plus=\"1\"/>", 300) + Repeat("<do>", 200) +
                               Repeat("</do>", 200) + "</IN></MESSAGE>" + Repeat("<MESSAGE name=\"x\"/>", 200) +
                               "<CHANNEL count=\"2147483647\">" + items + "</CHANNEL>"),
                        5));
    OpenWallPort();
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(manager->SetMatrix("M", "sw", 0, 0), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(wallPty.ReadAvailable(), Hex("2C"));
    EXPECT_EQ(Matrix("M")->GetChannelTable()->GetName(2147483647), "2147483647");
}

TEST_F(HostileMatrixFile, NumbersThatAreNoNumbersTakeTheirDefaults) {
    LoadMatrices("<MATRIX name=\"P\"><COMM indep=\"true\" port=\"\" baudrate=\"fast\" databit=\"\" "
                 "stopbit=\"99999999999\" parity=\"-\"/><CHANNEL count=\"many\"/>"
                 "<MESSAGE name=\"a\" followup_item=\"b\" followup_delay=\"99999999999\"><IN><do plus=\"\"/>"
                 "<do div=\"-\"/><do and=\"+-1\"/></IN><CHKPLUS from=\"x\" to=\"-\"/></MESSAGE>"
                 "<MESSAGE name=\"b\" followup_item=\"a\" followup_delay=\"-2147483648\"/></MATRIX>");
    BOOL own = FALSE;
    CCommPortSetting* port = Matrix("P")->GetPort(own);
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(Numbers(port), std::vector<int>({9600, 8, 0, 0}));
    EXPECT_EQ(Matrix("P")->GetChannelTable()->GetCount(), 0);
    EXPECT_EQ(Matrix("P")->MessageAt(0)->GetFollowupDelay(), 0);
    EXPECT_EQ(Build("a", 5, 0, "P"), Hex("00 00"));
    EXPECT_FALSE(port->Open("\\\\.\\" + port->m_portName, 9600, 8, 0, 0));
    EXPECT_EQ(manager->SetMatrix("P", "a", 5, 0), 16);
}

TEST_F(HostileMatrixFile, PortNumbersNoPortCanBeOpenedWithAndNegativeCountsTakeTheirDefaults) {
    LoadMatrices("<MATRIX name=\"bad\"><COMM indep=\"true\" port=\"COM5\" baudrate=\"-1\" databit=\"264\" "
                 "stopbit=\"3\" parity=\"-2\"/><CHANNEL count=\"-7\"><ITEM id=\"1\" name=\"x\"/></CHANNEL></MATRIX>"
                 "<MATRIX name=\"edge\"><COMM indep=\"true\" port=\"COM5\" baudrate=\"1\" databit=\"5\" "
                 "stopbit=\"1\" parity=\"4\"/></MATRIX>");
    BOOL own = FALSE;
    CCommPortSetting* bad = Matrix("bad")->GetPort(own);
    ASSERT_NE(bad, nullptr);
    EXPECT_EQ(Numbers(bad), std::vector<int>({9600, 8, 0, 0}));
    EXPECT_EQ(Matrix("bad")->GetChannelTable()->GetCount(), 0);
    EXPECT_EQ(Matrix("bad")->GetChannelTable()->GetName(1), "");
    CCommPortSetting* edge = Matrix("edge")->GetPort(own);
    EXPECT_EQ(Numbers(edge), std::vector<int>({1, 5, 1, 4}));
}
