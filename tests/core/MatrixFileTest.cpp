#include "core/CheckOpertion.h"
#include "tests/core/MatrixFixture.h"

#include <filesystem>
#include <tinyxml.h>

namespace {

// An element printed as TinyXML writes it, for comparing what a save left alone.
std::string Printed(const TiXmlElement* element) {
    TiXmlPrinter printer;
    element->Accept(&printer);
    return printer.CStr();
}

std::vector<std::string> ChildTags(const TiXmlElement* element) {
    std::vector<std::string> tags;
    for (const TiXmlElement* e = element->FirstChildElement(); e; e = e->NextSiblingElement())
        tags.push_back(e->Value());
    return tags;
}

std::vector<std::string> AttributeNames(const TiXmlElement* element) {
    std::vector<std::string> names;
    for (const TiXmlAttribute* a = element->FirstAttribute(); a; a = a->Next())
        names.push_back(a->Name());
    return names;
}

} // namespace

using MatrixFile = MatrixFixture;

TEST_F(MatrixFile, ATypeConvertsOnlyWhenItStandsFirst) {
    LoadMatrices(OnWall("<MESSAGE name=\"late\"><IN width=\"3\" type=\"alpha\"/></MESSAGE>"
                        "<MESSAGE name=\"first\"><IN type=\"alpha\" width=\"3\"/></MESSAGE>"
                        "<MESSAGE name=\"upperName\"><OUT TYPE=\"HEX\"/></MESSAGE>"
                        "<MESSAGE name=\"bytesUpperName\"><BYTES TYPE=\"hex\">41</BYTES></MESSAGE>"
                        "<MESSAGE name=\"bytesUpperValue\"><BYTES type=\"HEX\">41</BYTES></MESSAGE>"
                        "<MESSAGE name=\"bytesLate\"><BYTES x=\"1\" type=\"Alpha\">Hi</BYTES></MESSAGE>"
                        "<MESSAGE name=\"number\"><IN type=\"Number\"><do plus=\"1\"/></IN></MESSAGE>"
                        "<MESSAGE name=\"unknown\"><IN type=\"bcd\"/></MESSAGE>"
                        "<MESSAGE name=\"badWidth\"><IN type=\"alpha\" width=\"wide\"/></MESSAGE>"
                        "<MESSAGE name=\"leadingWidth\"><IN type=\"alpha\" width=\" 4mm\"/></MESSAGE>"));
    EXPECT_EQ(Build("M", "late", 7, 0), Hex("07"));
    EXPECT_EQ(Build("M", "first", 7, 0), Text("007"));
    EXPECT_EQ(Build("M", "upperName", 0, 171), Text("AB"));
    EXPECT_EQ(Build("M", "bytesUpperName", 0, 0), Hex("00"));
    EXPECT_EQ(Build("M", "bytesUpperValue", 0, 0), Hex("41"));
    EXPECT_EQ(Build("M", "bytesLate", 0, 0), Text("Hi")); // a BYTES type is looked up by name
    EXPECT_EQ(Build("M", "number", 0x1FF, 0), Hex("00"));
    EXPECT_EQ(Build("M", "unknown", 0x1FF, 0), Hex("FF"));
    EXPECT_EQ(Build("M", "badWidth", 42, 0), Text("42"));
    EXPECT_EQ(Build("M", "leadingWidth", 42, 0), Text("0042"));
}

TEST_F(MatrixFile, DoElementsTakeTheirFirstAttributeOnly) {
    LoadMatrices(OnWall("<MESSAGE name=\"m\"><IN>"
                        "<do plus=\"1\" div=\"2\"/>"        // plus only
                        "<do times=\"3\" plus=\"100\"/>"    // nothing
                        "<do/>"                             // nothing
                        "<DO plus=\"100\"/>"                // not a do element
                        "<do Plus=\"100\"/>"                // names are exact
                        "<do div=\"2\"/><do mod=\"0x10\"/>" // the 0 before the x
                        "</IN></MESSAGE>"));
    EXPECT_EQ(Build("M", "m", 9, 0), Hex("05"));
}

TEST_F(MatrixFile, ChecksumsWithoutARangeEndCoverPositionZero) {
    LoadMatrices(OnWall("<MESSAGE name=\"noTo\"><BYTES type=\"hex\">A5</BYTES><BYTES type=\"hex\">11</BYTES>"
                        "<CHKPLUS from=\"0\"/></MESSAGE>"
                        "<MESSAGE name=\"noFrom\"><BYTES type=\"hex\">A5</BYTES><BYTES type=\"hex\">11</BYTES>"
                        "<CHKXOR to=\"1\"><do plus=\"1\"/></CHKXOR></MESSAGE>"
                        "<MESSAGE name=\"junk\"><BYTES type=\"hex\">A5</BYTES><BYTES type=\"hex\">11</BYTES>"
                        "<CHKXOR from=\"one\" to=\"1st\"/></MESSAGE>"));
    EXPECT_EQ(Build("M", "noTo", 0, 0), Hex("A5 11 A5"));
    EXPECT_EQ(Build("M", "noFrom", 0, 0), Hex("A5 11 B5"));
    EXPECT_EQ(Build("M", "junk", 0, 0), Hex("A5 11 B4"));
}

TEST_F(MatrixFile, FollowUpsPortsSignalsAndChannelsWithTheirDefaults) {
    LoadMatrices("<MATRIX name=\"A\" type=\"hdmi\">"
                 "<MESSAGE name=\"m\" followup_item=\"n\"/><MESSAGE name=\"n\" followup_delay=\"300\"/>"
                 "<MESSAGE name=\"o\" followup_item=\"n\" followup_delay=\"soon\"/>"
                 "<SIGNAL type=\"vga\" grow_type=\"hdmi\"/><SIGNAL type=\"DVI\"/>"
                 "<COMM indep=\"TRUE\" port=\"COM9\"/><COMM indep=\"false\"/>"
                 "<CHANNEL><ITEM id=\"2\" name=\"Cam\"/><ITEM name=\"lost\"/><ITEM id=\"x\" name=\"lost\"/></CHANNEL>"
                 "<CHANNEL count=\"99\"/>"
                 "</MATRIX>"
                 "<MATRIX name=\"B\"><COMM indep=\"yes\" port=\"COM5\"/><SIGNAL/>"
                 "<CHANNEL count=\"12\"><ITEM id=\"40\" name=\"far\"/></CHANNEL></MATRIX>"
                 "<MATRIX><MESSAGE/></MATRIX>");
    CMatrix* a = Matrix("A");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetSignalType(), kSignalHdmi);
    CMessage* m = a->MessageAt(a->FindMessage("m"));
    EXPECT_EQ(m->GetFollowupItem(), "n");
    EXPECT_EQ(m->GetFollowupDelay(), 0);
    CMessage* n = a->MessageAt(a->FindMessage("n"));
    EXPECT_EQ(n->GetFollowupItem(), "");
    EXPECT_EQ(n->GetFollowupDelay(), 300);
    EXPECT_EQ(a->MessageAt(a->FindMessage("o"))->GetFollowupDelay(), 0);

    std::string type, grow;
    a->GetSignal(type, grow);
    EXPECT_EQ(type, "VGA");
    EXPECT_EQ(grow, "HDMI");

    BOOL own = FALSE;
    CCommPortSetting* port = a->GetPort(own);
    ASSERT_NE(port, nullptr);
    EXPECT_TRUE(own);
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(port->m_portName, "COM9");
    EXPECT_EQ(std::vector<int>({port->m_baudRate, port->m_dataBits, port->m_stopBits, port->m_parity}),
              std::vector<int>({9600, 8, 0, 0}));

    CChannelTable* channels = a->GetChannelTable();
    ASSERT_NE(channels, nullptr);
    EXPECT_EQ(channels->GetCount(), 0);
    int number = 0;
    std::string name;
    ASSERT_TRUE(channels->GetEntry(channels->Begin(), number, name));
    EXPECT_EQ(number, 2);
    EXPECT_EQ(name, "Cam");
    EXPECT_EQ(channels->Next(channels->Begin()), channels->End()) << "an ITEM without a usable id is skipped";

    CMatrix* b = Matrix("B");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetSignalType(), kSignalAv);
    EXPECT_EQ(b->GetPort(own), nullptr);
    EXPECT_FALSE(own);
    b->GetSignal(type, grow);
    EXPECT_EQ(type + grow, "");
    EXPECT_EQ(b->GetChannelTable()->GetCount(), 12);
    EXPECT_EQ(b->GetChannelTable()->GetName(40), "");

    CMatrix* unnamed = Matrix("");
    ASSERT_NE(unnamed, nullptr);
    EXPECT_NE(unnamed->MessageAt(unnamed->FindMessage("")), nullptr);
    EXPECT_EQ(unnamed->GetChannelTable()->GetCount(), 0);
}

TEST_F(MatrixFile, EqualNamesAreBothReadAndTheFirstIsAddressed) {
    LoadMatrices(OnWall("<MESSAGE name=\"sw\"><BYTES type=\"hex\">01</BYTES></MESSAGE>"
                        "<MESSAGE name=\"sw\"><BYTES type=\"hex\">02</BYTES></MESSAGE>") +
                 OnWall("<MESSAGE name=\"sw\"><BYTES type=\"hex\">03</BYTES></MESSAGE>"));
    size_t count = 0;
    for (CMatrixMgr::Position p = manager->Begin(); p != manager->End(); p = CMatrix::NextMessage(p))
        ++count;
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(manager->GetAt(manager->End()), nullptr);
    OpenWallPort();
    EXPECT_EQ(manager->SetMatrix("M", "sw", 0, 0), 0);
    EXPECT_EQ(wallPty.ReadAvailable(), Hex("01"));
    EXPECT_EQ(Matrix("M")->MessageAt(Matrix("M")->MessagesEnd()), nullptr);
}

TEST_F(MatrixFile, TheMatrixPageShowsEachMessagesLayout) {
    LoadMatrices(OnWall("<MESSAGE name=\"sw\"><BYTES type=\"hex\">A5</BYTES><LOWIN/><HIGHIN/><OUT/><CHKXOR/>"
                        "<BYTES>\xB5\xE7</BYTES><NOTE/></MESSAGE><MESSAGE name=\"none\"/>"));
    CMatrix* m = Matrix("M");
    EXPECT_EQ(m->MessageAt(0)->Format(), "A5-LOWIN-HIGHIN-OUT-CHKXOR-\xB5\xE7");
    EXPECT_EQ(m->MessageAt(1)->Format(), "");
}

TEST_F(MatrixFile, AMissingOrBrokenFileGivesNoMatrices) {
    manager = std::make_unique<CMatrixMgr>(CWallModel::GetInstance());
    EXPECT_EQ(manager->Begin(), manager->End());
    EXPECT_EQ(manager->SetMatrix("M", "sw", 1, 1), -1);

    Load("<MATRIXLIST><MATRIX name=\"M\"><MESSAGE name=\"sw\"><IN/></MESSAGE></MATRIX>"); // cut short
    EXPECT_EQ(manager->Begin(), manager->End());
    CMatrix stray("M", 0);
    EXPECT_EQ(manager->SaveMatrix("M", &stray), -1);
    EXPECT_EQ(dir.Read("matrix.xml"), "<MATRIXLIST><MATRIX name=\"M\"><MESSAGE name=\"sw\"><IN/></MESSAGE></MATRIX>")
        << "a broken file is never replaced";
}

class MatrixSave : public MatrixFixture {
protected:
    TiXmlElement* Reread(const char* name) {
        reread.Clear();
        EXPECT_TRUE(reread.LoadFile(dir.Dir().File("matrix.xml").c_str(), TIXML_ENCODING_LEGACY));
        TiXmlElement* root = reread.RootElement();
        for (TiXmlElement* e = root ? root->FirstChildElement("MATRIX") : nullptr; e;
             e = e->NextSiblingElement("MATRIX"))
            if (std::string(e->Attribute("name") ? e->Attribute("name") : "") == name)
                return e;
        return nullptr;
    }
    TiXmlDocument reread;
};

const char kSaved[] =
    "<MATRIX type=\"vga\" note=\"kept\" name=\"\xBE\xD8\xD5\xF3\">"
    "<COMM indep=\"true\" port=\"COM5\" baudrate=\"19200\"/>"
    "<MESSAGE name=\"sw\" followup_item=\"save\" followup_delay=\"50\"><BYTES type=\"hex\">A5</BYTES>"
    "<IN width=\"2\" type=\"alpha\"><do plus=\"-1\"/></IN><CHKXOR from=\"0\" to=\"1\"/><!-- kept --></MESSAGE>"
    "<CHANNEL count=\"4\"><ITEM id=\"1\" name=\"Cam\"/></CHANNEL>"
    "<SIGNAL type=\"VGA\" grow_type=\"HDMI\"/>"
    "<MESSAGE name=\"save\"><BYTES>0</BYTES></MESSAGE>"
    "<CHANNEL count=\"9\"/>"
    "</MATRIX>\n"
    "<MATRIX name=\"other\" type=\"DVI\"><MESSAGE name=\"x\"><OUT/></MESSAGE><COMM indep=\"false\"/></MATRIX>\n";

TEST_F(MatrixSave, OnlyNameTypeCommAndChannelChangeAndTheyComeLast) {
    LoadMatrices(kSaved);
    TiXmlDocument before;
    ASSERT_TRUE(before.LoadFile(dir.Dir().File("matrix.xml").c_str(), TIXML_ENCODING_LEGACY));
    std::vector<std::string> messagesBefore;
    TiXmlElement* oldMatrix = before.RootElement()->FirstChildElement("MATRIX");
    for (TiXmlElement* e = oldMatrix->FirstChildElement("MESSAGE"); e; e = e->NextSiblingElement("MESSAGE"))
        messagesBefore.push_back(Printed(e));
    std::string otherBefore = Printed(oldMatrix->NextSiblingElement("MATRIX"));

    CMatrix* m = Matrix("\xBE\xD8\xD5\xF3");
    ASSERT_NE(m, nullptr);
    m->SetName("\xBE\xD8\xD5\xF3 2");
    m->SetSignalType(kSignalHdmi);
    m->SetPort(FALSE, nullptr);
    m->GetChannelTable()->SetCount(6);
    m->GetChannelTable()->SetName(3, "3");
    m->GetChannelTable()->SetName(4, "Camera");
    m->GetChannelTable()->SetName(5, "5A");
    m->GetChannelTable()->SetName(6, "06");
    EXPECT_EQ(manager->SaveMatrix("\xBE\xD8\xD5\xF3", m), 0);

    TiXmlElement* saved = Reread("\xBE\xD8\xD5\xF3 2");
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(AttributeNames(saved), (std::vector<std::string>{"type", "note", "name"}));
    EXPECT_STREQ(saved->Attribute("type"), "HDMI");
    EXPECT_EQ(ChildTags(saved),
              (std::vector<std::string>{"MESSAGE", "SIGNAL", "MESSAGE", "CHANNEL", "COMM", "CHANNEL"}))
        << "the first COMM and CHANNEL are replaced at the end; a second CHANNEL stays";
    std::vector<std::string> messagesAfter;
    for (TiXmlElement* e = saved->FirstChildElement("MESSAGE"); e; e = e->NextSiblingElement("MESSAGE"))
        messagesAfter.push_back(Printed(e));
    EXPECT_EQ(messagesAfter, messagesBefore);
    EXPECT_EQ(Printed(saved->NextSiblingElement("MATRIX")), otherBefore);

    TiXmlElement* comm = saved->FirstChildElement("COMM");
    EXPECT_EQ(AttributeNames(comm), std::vector<std::string>{"indep"}) << "no port yet: only indep";
    EXPECT_STREQ(comm->Attribute("indep"), "false");

    TiXmlElement* channel = comm->NextSiblingElement("CHANNEL");
    EXPECT_STREQ(channel->Attribute("count"), "6");
    std::vector<std::string> items;
    for (TiXmlElement* e = channel->FirstChildElement(); e; e = e->NextSiblingElement())
        items.push_back(std::string(e->Value()) + " " + e->Attribute("id") + " " + e->Attribute("name"));
    EXPECT_EQ(items, (std::vector<std::string>{"ITEM 1 Cam", "ITEM 4 Camera", "ITEM 5 5A", "ITEM 6 06"}))
        << "only a channel's own number is left out";
}

TEST_F(MatrixSave, APortInUseIsWrittenWithItsSettings) {
    LoadMatrices(kSaved);
    CMatrix* m = Matrix("other");
    OpenWallPort();
    EXPECT_EQ(m->ExecuteCommand(1, 2, "x"), 0);
    EXPECT_EQ(manager->SaveMatrix("other", m), 0);
    TiXmlElement* comm = Reread("other")->FirstChildElement("COMM");
    EXPECT_EQ(AttributeNames(comm),
              (std::vector<std::string>{"indep", "port", "baudrate", "stopbit", "databit", "parity"}));
    EXPECT_STREQ(comm->Attribute("indep"), "false");
    EXPECT_STREQ(comm->Attribute("port"), "COM3");

    CMatrix* own = Matrix("\xBE\xD8\xD5\xF3");
    auto* port = new CCommPortSetting;
    port->SetSettings("COM7", 38400, 7, 2, 4);
    own->SetPort(TRUE, port);
    manager->SaveMatrix("\xBE\xD8\xD5\xF3", own);
    comm = Reread("\xBE\xD8\xD5\xF3")->FirstChildElement("COMM");
    EXPECT_STREQ(comm->Attribute("indep"), "true");
    EXPECT_EQ(std::string(comm->Attribute("port")) + " " + comm->Attribute("baudrate") + " " +
                  comm->Attribute("stopbit") + " " + comm->Attribute("databit") + " " + comm->Attribute("parity"),
              "COM7 38400 2 7 4");
    // And it reads back as it was set.
    manager.reset();
    manager = std::make_unique<CMatrixMgr>(CWallModel::GetInstance());
    BOOL isOwn = FALSE;
    CCommPortSetting* readBack = Matrix("\xBE\xD8\xD5\xF3")->GetPort(isOwn);
    ASSERT_NE(readBack, nullptr);
    EXPECT_TRUE(isOwn);
    EXPECT_EQ(readBack->m_baudRate, 38400);
}

TEST_F(MatrixSave, AnUnknownOldNameRewritesTheFileUnchanged) {
    LoadMatrices(kSaved);
    TiXmlDocument before;
    ASSERT_TRUE(before.LoadFile(dir.Dir().File("matrix.xml").c_str(), TIXML_ENCODING_LEGACY));
    CMatrix stray("stray", 0);
    EXPECT_EQ(manager->SaveMatrix("stray", &stray), 0);
    TiXmlDocument after;
    ASSERT_TRUE(after.LoadFile(dir.Dir().File("matrix.xml").c_str(), TIXML_ENCODING_LEGACY));
    EXPECT_EQ(Printed(after.RootElement()), Printed(before.RootElement()));
}
