#include "core/XmlLoad.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <functional>
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

// The elements the parser actually nested, counted on what it built.
int ParsedDepth(const TiXmlNode* node) {
    int deepest = 0;
    for (const TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling())
        deepest = std::max(deepest, ParsedDepth(child));
    return deepest + (node->ToElement() ? 1 : 0);
}

TEST(XmlNestingDepth, NeverCountsLessThanTheParserNests) {
    // Trees whose tags and the markup between them read differently depending on where a tag is taken to end.
    const std::vector<std::pair<std::string, std::string>> elements = {{"<a>", "</a>"},
                                                                       {"<b x='1'>", "</b>"},
                                                                       {"<g h=\"i>\">", "</g>"},
                                                                       {"<t\tu\n=\r'v'>", "</t>"},
                                                                       {"<w x=\"y\"z='1'>", "</w>"},
                                                                       {"<\xC7\xBD>", "</\xC7\xBD>"},
                                                                       {"<n o=p>", "</n >"},
                                                                       {"<k l='m\"/>'>", "</k>"}};
    const std::vector<std::string> between = {"<c/>",
                                              "<d e=f/>",
                                              "<<!-- it's -->",
                                              "<!-- <a> -->",
                                              "<![CDATA[<a>]]>",
                                              "<?xml version='1>0'?>",
                                              "<?XML v='>'?>",
                                              "<!x '>' ",
                                              "text",
                                              "'",
                                              "\"",
                                              ">",
                                              "<?pi ?>",
                                              "<!DOCTYPE r [ <!ELEMENT s '>'> ]>",
                                              " "};
    uint64_t state = 7;
    auto next = [&state](size_t n) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<size_t>((state >> 33) % n);
    };
    std::function<std::string(int)> tree = [&](int depth) {
        const auto& element = elements[next(elements.size())];
        std::string text = element.first;
        for (size_t children = next(4); children > 0; --children)
            text += depth < 12 && next(2) ? tree(depth + 1) : between[next(between.size())];
        return text + element.second;
    };
    int parsed = 0;
    for (int round = 0; round < 5000; ++round) {
        const std::string text = tree(0);
        TiXmlDocument doc;
        doc.Parse(text.c_str(), nullptr, TIXML_ENCODING_LEGACY);
        if (doc.Error())
            continue;
        ++parsed;
        ASSERT_GE(XmlNestingDepth(text), ParsedDepth(&doc)) << text;
    }
    EXPECT_GT(parsed, 1000); // enough of them parsed to mean something
}

TEST(LoadXmlFile, RefusesADeepFileBehindAStrayAngleBracket) {
    TempDir dir;
    TiXmlDocument doc;
    // A '<' that opens nothing, then a quote: a count that took the quote for a value would see no nesting.
    dir.Write("stray.xml", "<R><<!-- it's --> " + Nested(100000) + "</R>");
    XmlLoadFault fault = XmlLoadFault::kNone;
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("stray.xml"), &fault));
    EXPECT_EQ(fault, XmlLoadFault::kTooDeep);
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
