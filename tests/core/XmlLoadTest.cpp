#include "core/XmlLoad.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tinyxml.h>
#include <unistd.h>

namespace {

std::string Nested(int depth) {
    std::string s;
    for (int i = 0; i < depth; ++i)
        s += "<a>";
    for (int i = 0; i < depth; ++i)
        s += "</a>";
    return s;
}

} // namespace

TEST(XmlNestingDepth, CountsElementsNotMarkup) {
    EXPECT_EQ(XmlNestingDepth(""), 0);
    EXPECT_EQ(XmlNestingDepth("<?xml version=\"1.0\"?><R/>"), 1);
    EXPECT_EQ(XmlNestingDepth("<R><A x=\"1\"/><A><B/></A></R>"), 3);
    EXPECT_EQ(XmlNestingDepth("<R><!-- <a><b><c> --><![CDATA[<a><b>]]><!DOCTYPE x></R>"), 1);
    EXPECT_EQ(XmlNestingDepth("<R v=\"/>\" w='>'><S/></R>"), 2); // markup inside quoted values is text
    EXPECT_EQ(XmlNestingDepth(Nested(300)), 300);
}

TEST(LoadXmlFile, AcceptsOrdinaryFilesAndGbkBytes) {
    TempDir dir;
    dir.Write("ok.xml", "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n<R name=\"\xB5\xE7\xD4\xB4\"><S/></R>\n");
    TiXmlDocument doc;
    ASSERT_TRUE(LoadXmlFile(doc, dir.File("ok.xml")));
    ASSERT_NE(doc.RootElement(), nullptr);
    EXPECT_STREQ(doc.RootElement()->Attribute("name"), "\xB5\xE7\xD4\xB4");
}

TEST(LoadXmlFile, RefusesMissingBrokenAndOverDeepFilesWithoutACrash) {
    TempDir dir;
    TiXmlDocument doc;
    XmlLoadFault fault = XmlLoadFault::kNone;
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("missing.xml"), &fault));
    EXPECT_EQ(fault, XmlLoadFault::kMissing);
    dir.Write("broken.xml", "<R><S></R>");
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("broken.xml"), &fault));
    EXPECT_EQ(fault, XmlLoadFault::kBroken);
    EXPECT_EQ(doc.RootElement(), nullptr);
    // Deep enough to exhaust the parser's stack if it were ever handed to it.
    dir.Write("deep.xml", Nested(1000000));
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("deep.xml"), &fault));
    EXPECT_EQ(fault, XmlLoadFault::kTooDeep);
    dir.Write("limit.xml", Nested(kMaxXmlDepth));
    EXPECT_TRUE(LoadXmlFile(doc, dir.File("limit.xml"), &fault));
    EXPECT_EQ(fault, XmlLoadFault::kNone);
    dir.Write("over.xml", Nested(kMaxXmlDepth + 1));
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("over.xml")));
}

TEST(LoadXmlFile, RefusesFilesOverSixtyFourMebibytesUnread) {
    TempDir dir;
    TiXmlDocument doc;
    // Sparse: the size is there without the disk space, and a reader that read it whole would take its time.
    dir.Write("huge.xml", "<R a=\"");
    ASSERT_EQ(truncate(dir.File("huge.xml").c_str(), kMaxXmlFileBytes + 1), 0);
    XmlLoadFault fault = XmlLoadFault::kNone;
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("huge.xml"), &fault));
    EXPECT_EQ(fault, XmlLoadFault::kTooLarge);
    ASSERT_EQ(truncate(dir.File("huge.xml").c_str(), 200LL * 1024 * 1024 * 1024), 0);
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("huge.xml"), &fault));
    EXPECT_EQ(fault, XmlLoadFault::kTooLarge);
}

TEST(LoadXmlFile, ReadsLineEndsOfEveryKindAsTheParserDoes) {
    TempDir dir;
    TiXmlDocument doc;
    dir.Write("crlf.xml", "<R>\r\n<S t=\"a\r\nb\rc\"/>\r</R>");
    ASSERT_TRUE(LoadXmlFile(doc, dir.File("crlf.xml")));
    EXPECT_STREQ(doc.RootElement()->FirstChildElement("S")->Attribute("t"), "a\nb\nc");
    dir.Write("empty.xml", "<?xml version=\"1.0\"?>\n<!-- no element -->\n");
    XmlLoadFault fault = XmlLoadFault::kNone;
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("empty.xml"), &fault));
    EXPECT_EQ(fault, XmlLoadFault::kBroken);
}

TEST(LoadXmlFile, RefusesFoldersAndPipesAtOnce) {
    TempDir dir;
    TiXmlDocument doc;
    ASSERT_EQ(mkdir(dir.File("folder.xml").c_str(), 0755), 0);
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("folder.xml")));
    // Nobody ever writes into this pipe: reading it would wait for good.
    ASSERT_EQ(mkfifo(dir.File("pipe.xml").c_str(), 0644), 0);
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("pipe.xml")));
}
