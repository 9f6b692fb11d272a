#include "tests/core/MatrixFixture.h"

#include <tinyxml.h>

using MatrixFile = MatrixFixture;

TEST_F(MatrixFile, ReaderQuirks) {
    LoadMatrices(OnWall("<MESSAGE name=\"late\"><IN width=\"3\" type=\"alpha\"/></MESSAGE>"
                        "<MESSAGE name=\"first\"><IN type=\"alpha\" width=\"3\"/></MESSAGE>"
                        "<MESSAGE name=\"noWidth\"><IN type=\"alpha\" width=\"wide\"/></MESSAGE>"
                        "<MESSAGE name=\"upper\"><OUT TYPE=\"HEX\"/><BYTES type=\"HEX\">41</BYTES>"
                        "<BYTES TYPE=\"hex\">41</BYTES><BYTES x=\"1\" type=\"Alpha\">Hi</BYTES></MESSAGE>"
                        "<MESSAGE name=\"number\"><IN type=\"number\"><do plus=\"1\"/></IN></MESSAGE>"
                        "<MESSAGE name=\"do\"><IN><do plus=\"1\" div=\"2\"/><do times=\"3\" plus=\"100\"/><do/>"
                        "<DO plus=\"100\"/><do div=\"2\"/><do mod=\"0x10\"/></IN></MESSAGE>"
                        "<MESSAGE name=\"chk\"><BYTES type=\"hex\">A5</BYTES><BYTES type=\"hex\">11</BYTES>"
                        "<CHKPLUS from=\"0\"/><CHKXOR to=\"1st\"><do plus=\"1\"/></CHKXOR></MESSAGE>"));
    EXPECT_EQ(Build("late", 7, 0), Hex("07")) << "a type that is not the first attribute converts nothing";
    EXPECT_EQ(Build("first", 7, 0), Text("007"));
    EXPECT_EQ(Build("noWidth", 7, 0), Text("7"));
    EXPECT_EQ(Build("upper", 0, 171), Hex("41 42 41 00 48 69"));
    EXPECT_EQ(Build("number", 0x1FF, 0), Hex("00"));
    EXPECT_EQ(Build("do", 9, 0), Hex("05")) << "each do adds its first attribute, if it names an operation";
    EXPECT_EQ(Build("chk", 0, 0), Hex("A5 11 A5 B5")) << "a range end left out is 0";
}

TEST_F(MatrixFile, ElementsAndTheirDefaults) {
    LoadMatrices("<MATRIX name=\"A\" type=\"hdmi\">"
                 "<MESSAGE name=\"m\" followup_item=\"n\"/><MESSAGE name=\"n\" followup_delay=\"300\"/>"
                 "<SIGNAL type=\"vga\" grow_type=\"hdmi\"/><SIGNAL type=\"DVI\"/>"
                 "<COMM indep=\"TRUE\" port=\"COM9\"/><COMM indep=\"false\"/>"
                 "<CHANNEL><ITEM id=\"2\" name=\"Cam\"/><ITEM name=\"lost\"/></CHANNEL><CHANNEL count=\"99\"/>"
                 "</MATRIX><MATRIX name=\"A\"/><MATRIX><COMM indep=\"yes\"/><MESSAGE/></MATRIX>");
    CMatrix* a = Matrix("A");
    EXPECT_EQ(a, manager->GetAt(manager->Begin())) << "the first of equal names";
    EXPECT_EQ(a->GetSignalType(), kSignalHdmi);
    CMessage* m = a->MessageAt(0);
    CMessage* n = a->MessageAt(1);
    EXPECT_EQ(m->GetFollowupItem() + "/" + std::to_string(m->GetFollowupDelay()), "n/0");
    EXPECT_EQ(n->GetFollowupItem() + "/" + std::to_string(n->GetFollowupDelay()), "/300");
    std::string type, grow;
    a->GetSignal(type, grow);
    EXPECT_EQ(type + grow, "VGAHDMI");

    BOOL own = FALSE;
    CCommPortSetting* port = a->GetPort(own);
    ASSERT_TRUE(own && port);
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(port->m_portName + " " + std::to_string(port->m_baudRate) + " " + std::to_string(port->m_dataBits) +
                  std::to_string(port->m_stopBits) + std::to_string(port->m_parity),
              "COM9 9600 800");
    EXPECT_EQ(a->GetChannelTable()->GetCount(), 0);
    EXPECT_EQ(a->GetChannelTable()->Next(a->GetChannelTable()->Begin()), a->GetChannelTable()->End())
        << "one name: an ITEM without an id is skipped";

    CMatrix* unnamed = Matrix("");
    ASSERT_NE(unnamed, nullptr);
    EXPECT_EQ(unnamed->GetPort(own), nullptr);
    EXPECT_NE(unnamed->GetChannelTable(), nullptr);
    EXPECT_EQ(unnamed->MessageAt(0)->Format(), "");
}

TEST_F(MatrixFile, ABrokenFileGivesNoMatricesAndIsNeverOverwritten) {
    const std::string broken = "<MATRIXLIST><MATRIX name=\"M\"><MESSAGE name=\"sw\"><IN/></MESSAGE></MATRIX>";
    dir.Write("matrix.xml", broken);
    Reload();
    EXPECT_EQ(manager->Begin(), manager->End());
    EXPECT_EQ(manager->SetMatrix("M", "sw", 1, 1), -1);
    CMatrix stray("M", 0);
    EXPECT_EQ(manager->SaveMatrix("M", &stray), -1);
    EXPECT_EQ(dir.Read("matrix.xml"), broken);
}

namespace {

std::string Printed(const TiXmlElement* e) {
    TiXmlPrinter printer;
    e->Accept(&printer);
    return printer.CStr();
}

// Tags of the children, or names and values of the attributes, in order.
std::string Children(const TiXmlElement* e) {
    std::string s;
    for (const TiXmlElement* c = e->FirstChildElement(); c; c = c->NextSiblingElement())
        s += std::string(c->Value()) + " ";
    return s;
}
std::string Attributes(const TiXmlElement* e) {
    std::string s;
    for (const TiXmlAttribute* a = e->FirstAttribute(); a; a = a->Next())
        s += std::string(a->Name()) + "=" + a->Value() + " ";
    return s;
}

const char kName[] = "\xBE\xD8\xD5\xF3"; // GBK

} // namespace

TEST_F(MatrixFile, SavingRewritesOnlyNameTypeCommAndChannel) {
    LoadMatrices(std::string("<MATRIX type=\"vga\" note=\"kept\" name=\"") + kName + "\">" +
                 "<COMM indep=\"true\" port=\"COM5\"/><MESSAGE name=\"sw\" followup_item=\"x\"><BYTES type=\"hex\">"
                 "A5</BYTES><IN width=\"2\" type=\"alpha\"><do plus=\"-1\"/></IN><!-- kept --></MESSAGE>"
                 "<CHANNEL count=\"4\"><ITEM id=\"1\" name=\"Cam\"/></CHANNEL><SIGNAL type=\"VGA\"/>"
                 "<MESSAGE name=\"x\"/><CHANNEL count=\"9\"/></MATRIX>"
                 "<MATRIX name=\"other\"><MESSAGE name=\"x\"><OUT/></MESSAGE></MATRIX>");
    TiXmlDocument before;
    ASSERT_TRUE(before.LoadFile(dir.Dir().File("matrix.xml").c_str(), TIXML_ENCODING_LEGACY));
    const TiXmlElement* old = before.RootElement()->FirstChildElement();

    CMatrix* m = Matrix(kName);
    m->SetName(std::string(kName) + "2");
    m->SetSignalType(kSignalHdmi);
    m->SetPort(FALSE, nullptr);
    CChannelTable* channels = m->GetChannelTable();
    channels->SetCount(6);
    channels->SetName(3, "3");
    channels->SetName(4, "Camera");
    channels->SetName(5, "5A"); // starts with its own number, and is still a name the operator chose
    EXPECT_EQ(manager->SaveMatrix(kName, m), 0);

    TiXmlDocument after;
    ASSERT_TRUE(after.LoadFile(dir.Dir().File("matrix.xml").c_str(), TIXML_ENCODING_LEGACY));
    const TiXmlElement* saved = after.RootElement()->FirstChildElement();
    EXPECT_EQ(Attributes(saved), "type=HDMI note=kept name=" + std::string(kName) + "2 ");
    EXPECT_EQ(Children(saved), "MESSAGE SIGNAL MESSAGE CHANNEL COMM CHANNEL ");
    EXPECT_EQ(Printed(saved->FirstChildElement("MESSAGE")), Printed(old->FirstChildElement("MESSAGE")));
    EXPECT_EQ(Printed(saved->NextSiblingElement()), Printed(old->NextSiblingElement()));
    const TiXmlElement* comm = saved->FirstChildElement("COMM");
    EXPECT_EQ(Attributes(comm), "indep=false ") << "no port in use yet";
    EXPECT_EQ(Printed(comm->NextSiblingElement()), "<CHANNEL count=\"6\">\n    <ITEM id=\"1\" name=\"Cam\" />\n"
                                                   "    <ITEM id=\"4\" name=\"Camera\" />\n"
                                                   "    <ITEM id=\"5\" name=\"5A\" />\n</CHANNEL>\n");

    // A port in use is written with its settings and read back.
    CMatrix* other = Matrix("other");
    OpenWallPort();
    other->ExecuteCommand(1, 2, "x");
    manager->SaveMatrix("other", other);
    auto* port = new CCommPortSetting;
    port->SetSettings("COM7", 38400, 7, 2, 4);
    m->SetPort(TRUE, port);
    manager->SaveMatrix(std::string(kName) + "2", m);
    ASSERT_TRUE(after.LoadFile(dir.Dir().File("matrix.xml").c_str(), TIXML_ENCODING_LEGACY));
    EXPECT_EQ(Attributes(after.RootElement()->FirstChildElement()->FirstChildElement("COMM")),
              "indep=true port=COM7 baudrate=38400 stopbit=2 databit=7 parity=4 ");
    EXPECT_EQ(Attributes(after.RootElement()->FirstChildElement()->NextSiblingElement()->FirstChildElement("COMM")),
              "indep=false port=COM3 baudrate=9600 stopbit=0 databit=8 parity=0 ");
    Reload();
    BOOL own = FALSE;
    EXPECT_EQ(Matrix(std::string(kName) + "2")->GetPort(own)->m_baudRate, 38400);
    EXPECT_EQ(Matrix(std::string(kName) + "2")->GetChannelTable()->GetName(5), "5A");
}
