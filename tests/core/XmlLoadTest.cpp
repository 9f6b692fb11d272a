#include "core/XmlLoad.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tinyxml.h>

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
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("missing.xml")));
    dir.Write("broken.xml", "<R><S></R>");
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("broken.xml")));
    EXPECT_EQ(doc.RootElement(), nullptr);
    // Deep enough to exhaust the parser's stack if it were ever handed to it.
    dir.Write("deep.xml", Nested(1000000));
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("deep.xml")));
    dir.Write("limit.xml", Nested(kMaxXmlDepth));
    EXPECT_TRUE(LoadXmlFile(doc, dir.File("limit.xml")));
    dir.Write("over.xml", Nested(kMaxXmlDepth + 1));
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("over.xml")));
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
