#include "core/CommandMap.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::string Commands(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n<COMMANDS>\n" + body + "</COMMANDS>\n";
}

class CommandFile : public ::testing::Test {
protected:
    int Load(const std::string& content) {
        dir.Write("command.xml", content);
        return map.Load(dir.File("command.xml"));
    }
    // Reads a definition without entering unknown names the way Lookup does.
    CCommandDef Def(const std::string& name) { return map.Lookup(name); }

    TempDir dir;
    CCommandMap map;
};

} // namespace

TEST_F(CommandFile, ReadsNameCodeAndOptionalParam) {
    EXPECT_EQ(Load(Commands("<CMD name=\"M-MENU\" code=\"33\"/>\n"
                            "<CMD name=\"AD_TEMP_SET_25\" code=\"70\" param=\"25\"/>\n")),
              1);
    CCommandDef menu = Def("M-MENU");
    EXPECT_EQ(menu.code, 33);
    EXPECT_FALSE(menu.hasParam);
    CCommandDef temp = Def("AD_TEMP_SET_25");
    EXPECT_EQ(temp.code, 70);
    EXPECT_TRUE(temp.hasParam);
    EXPECT_EQ(temp.param, 25);
}

TEST_F(CommandFile, TheLaterOfTwoEqualNamesWins) {
    Load(Commands("<CMD name=\"VGA\" code=\"10\" param=\"1\"/><CMD name=\"VGA\" code=\"11\"/>"));
    EXPECT_EQ(Def("VGA").code, 11);
    EXPECT_FALSE(Def("VGA").hasParam);
}

TEST_F(CommandFile, ElementsWithoutANameOrWithCodeZeroAddNothing) {
    Load(Commands("<CMD code=\"5\"/><CMD name=\"\" code=\"6\"/><CMD name=\"ZERO\" code=\"0\" param=\"3\"/>"
                  "<CMD name=\"OK\" code=\"7\"/>"));
    EXPECT_EQ(map.GetCount(), 1u);
}

TEST_F(CommandFile, OnlyTheLowBytesAreKept) {
    Load(Commands("<CMD name=\"BIG\" code=\"300\" param=\"-1\"/><CMD name=\"NEG\" code=\"-2\" param=\"511\"/>"));
    EXPECT_EQ(Def("BIG").code, 44);
    EXPECT_EQ(Def("BIG").param, 0xFF);
    EXPECT_EQ(Def("NEG").code, 0xFE);
    EXPECT_EQ(Def("NEG").param, 0xFF);
}

TEST_F(CommandFile, ACodeOrParamThatIsNoNumberSkipsTheElement) {
    Load(Commands("<CMD name=\"POWER-ON\" code=\"1\" param=\"9\"/>\n"
                  "<CMD name=\"POWER-ON\" code=\"x1\"/>\n" // a broken redefinition keeps the earlier one
                  "<CMD name=\"NOCODE\"/>\n"
                  "<CMD name=\"HEX\" code=\"0x10\"/>\n"
                  "<CMD name=\"TAIL\" code=\"12abc\"/>\n"
                  "<CMD name=\"HUGE\" code=\"99999999999\"/>\n"
                  "<CMD name=\"BADPARAM\" code=\"4\" param=\"high\"/>\n"
                  "<CMD name=\"EMPTYPARAM\" code=\"4\" param=\"\"/>\n"
                  "<CMD name=\"SPACED\" code=\" 8 \" param=\" +2\"/>\n"));
    EXPECT_EQ(map.GetCount(), 2u);
    EXPECT_EQ(Def("POWER-ON").code, 1);
    EXPECT_EQ(Def("POWER-ON").param, 9);
    EXPECT_EQ(Def("SPACED").code, 8);
    EXPECT_EQ(Def("SPACED").param, 2);
}

TEST_F(CommandFile, OnlyCmdChildrenOfTheRootCountWhateverTheRootIsCalled) {
    Load("<anything><OTHER name=\"A\" code=\"1\"/><CMD name=\"B\" code=\"2\"><CMD name=\"C\" code=\"3\"/></CMD>"
         "<cmd name=\"D\" code=\"4\"/></anything><CMD name=\"E\" code=\"5\"/>");
    EXPECT_EQ(map.GetCount(), 1u);
    EXPECT_EQ(Def("B").code, 2);
}

TEST_F(CommandFile, GbkNamesAreKeptByteForByte) {
    const std::string name = "\xB5\xE7\xD4\xB4\xBF\xAA"; // 电源开
    Load(Commands("<CMD name=\"" + name + "\" code=\"9\"/>"));
    EXPECT_EQ(map.GetCount(), 1u);
    EXPECT_EQ(Def(name).code, 9);
}

TEST_F(CommandFile, AMissingOrBrokenFileLeavesTheMapAsItWas) {
    Load(Commands("<CMD name=\"M-UP\" code=\"34\"/>"));
    EXPECT_EQ(map.Load(dir.File("missing.xml")), 0);
    EXPECT_EQ(Load(""), 0);
    EXPECT_EQ(Load("<COMMANDS><CMD name=\"M-UP\" code=\"99\"/>"), 0); // unclosed root
    EXPECT_EQ(Load("not xml at all"), 0);
    EXPECT_EQ(map.GetCount(), 1u);
    EXPECT_EQ(Def("M-UP").code, 34);
}

TEST_F(CommandFile, AHostileFileLoadsNothingAndDoesNotCrash) {
    Load(Commands("<CMD name=\"M-UP\" code=\"34\"/>"));
    std::string deep = "<COMMANDS><CMD name=\"M-UP\" code=\"1\"/>";
    for (int i = 0; i < 200000; ++i)
        deep += "<X>";
    EXPECT_EQ(Load(deep), 0);
    std::string longName(100000, 'N');
    EXPECT_EQ(Load(Commands("<CMD name=\"" + longName + "\" code=\"5\"/>")), 1);
    EXPECT_EQ(Def(longName).code, 5);
    EXPECT_EQ(Def("M-UP").code, 34);
}

TEST_F(CommandFile, ALoadAddsToWhatIsThereAndReplacesByName) {
    Load(Commands("<CMD name=\"A\" code=\"1\"/><CMD name=\"B\" code=\"2\"/>"));
    Load(Commands("<CMD name=\"B\" code=\"20\"/>"));
    EXPECT_EQ(Def("A").code, 1);
    EXPECT_EQ(Def("B").code, 20);
}

TEST_F(CommandFile, AnUnknownNameIsEnteredWithTheEmptyDefinition) {
    CCommandDef def = map.Lookup("NOT-DEFINED");
    EXPECT_EQ(def.code, 0);
    EXPECT_EQ(def.param, 0);
    EXPECT_FALSE(def.hasParam);
    EXPECT_EQ(map.GetCount(), 1u);
}

TEST(CommandMapInstance, IsOneMapForTheProcess) {
    CCommandMap* first = CCommandMap::GetInstance();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, CCommandMap::GetInstance());
    EXPECT_EQ(first->GetCount(), 0u);
}
