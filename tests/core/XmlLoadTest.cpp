#include "core/XmlLoad.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <cstring>
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

// What the parser actually built, counted on the tree as the measure counts it.
void CountParsed(const TiXmlNode* node, int depth, XmlShape& shape) {
    for (const TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling()) {
        ++shape.elements;
        shape.textBytes += static_cast<long long>(std::strlen(child->Value()));
        int childDepth = depth;
        if (const TiXmlElement* element = child->ToElement()) {
            childDepth = depth + 1;
            shape.deepest = std::max(shape.deepest, childDepth);
            int attributes = 0;
            for (const TiXmlAttribute* a = element->FirstAttribute(); a; a = a->Next()) {
                ++attributes;
                shape.textBytes += static_cast<long long>(std::strlen(a->Name()) + std::strlen(a->Value()));
            }
            shape.attributes += attributes;
            shape.widest = std::max(shape.widest, attributes);
        }
        CountParsed(child, childDepth, shape);
    }
}

TEST(MeasureXml, NeverCountsLessThanTheParserBuilds) {
    // Trees whose tags and the markup between them read differently depending on where a tag is taken to end.
    const std::vector<std::pair<std::string, std::string>> elements = {{"<a>", "</a>"},
                                                                       {"<b x='1'>", "</b>"},
                                                                       {"<g h=\"i>\">", "</g>"},
                                                                       {"<t\tu\n=\r'v'>", "</t>"},
                                                                       {"<w x=\"y\"z='1'>", "</w>"},
                                                                       {"<\xC7\xBD>", "</\xC7\xBD>"},
                                                                       {"<n o=p>", "</n >"},
                                                                       {"<k l='m\"/>'>", "</k>"},
                                                                       {"<m a='1' b=\"2\" c=3>", "</m>"}};
    const std::vector<std::string> between = {"<c/>",
                                              "<d e=f/>",
                                              "<<!-- it's -->",
                                              "<!-- <a> -->",
                                              "<![CDATA[<a>]]>",
                                              "<?xml version='1>0'?>",
                                              "<?XML v='>'?>",
                                              "<!x '>' ",
                                              "text",
                                              " two words ",
                                              "&lt;&#65;&amp;",
                                              "'",
                                              "\"",
                                              ">",
                                              "<?pi ?>",
                                              "<!DOCTYPE r [ <!ELEMENT s '>'> ]>",
                                              "<e f='1' f='2'/>",
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
        // Also what the parser built before it gave up: that stood in memory.
        XmlShape built;
        CountParsed(&doc, 0, built);
        const XmlShape measured = MeasureXml(text);
        ASSERT_GE(measured.deepest, built.deepest) << text;
        ASSERT_GE(measured.elements, built.elements) << text;
        ASSERT_GE(measured.attributes, built.attributes) << text;
        ASSERT_GE(measured.widest, built.widest) << text;
        ASSERT_GE(measured.textBytes, built.textBytes) << text;
        parsed += doc.Error() ? 0 : 1;
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

TEST(LoadXmlFile, RefusesBrokenAndOverDeepFilesSayingWhereTheParserStopped) {
    TempDir dir;
    TiXmlDocument doc;
    XmlLoadStatus status;
    // Lines are counted as an editor counts them, whatever ends them.
    dir.Write("broken.xml", "<?xml version=\"1.0\"?>\r\n<R>\r<S>\n</R>\n");
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("broken.xml"), &status));
    EXPECT_EQ(status.fault, XmlLoadFault::kBroken);
    EXPECT_EQ(status.line, 4); // where </R> fails to close <S>
    EXPECT_EQ(doc.RootElement(), nullptr);
    // Cut short, the parser names no place: the file's last line is where it ends too early, and not the empty
    // one after it.
    dir.Write("cut.xml", "<R>\n<S a=\"1\"/>\n<S");
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("cut.xml"), &status));
    EXPECT_EQ(status.line, 3);
    dir.Write("open.xml", "<R>\n<S a=\"1\"/>\n\n");
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("open.xml"), &status));
    EXPECT_EQ(status.line, 2);
    // Nothing the parser can start on: the line of the first thing that stands there.
    dir.Write("lead.xml", "\n\nhello <R/>\n<S/>\n<T/>\n");
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("lead.xml"), &status));
    EXPECT_EQ(status.line, 3);
    // Deep enough to exhaust the parser's stack if it were ever handed to it.
    dir.Write("deep.xml", Nested(1000000));
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("deep.xml"), &status));
    EXPECT_EQ(status.fault, XmlLoadFault::kTooDeep);
}

TEST(LoadXmlFile, ReadsTextBehindAByteOrderMarkAsGbkUnlessItIsUtf8) {
    TempDir dir;
    TiXmlDocument doc;
    XmlLoadStatus status;
    const std::string mark = "\xEF\xBB\xBF";
    // Editors put the mark in front of what they save: ASCII or GBK text behind it reads as if it were not there,
    // and a fault is named at its own line.
    dir.Write("ascii.xml", mark + "<?xml version=\"1.0\"?>\n<R a=\"1\"/>\n");
    EXPECT_TRUE(LoadXmlFile(doc, dir.File("ascii.xml"), &status)) << XmlLoadStatusText(status);
    dir.Write("gbk.xml", mark + "<R name=\"\xB5\xE7\xD4\xB4\"/>\n");
    ASSERT_TRUE(LoadXmlFile(doc, dir.File("gbk.xml"), &status)) << XmlLoadStatusText(status);
    EXPECT_STREQ(doc.RootElement()->Attribute("name"), "\xB5\xE7\xD4\xB4");
    dir.Write("broken.xml", mark + "<R>\n<S a=\"1\" b/>\n</R>\n");
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("broken.xml"), &status));
    EXPECT_EQ(XmlLoadStatusText(status), "is not valid XML at line 2");
    // UTF-8 text behind it is in another encoding, also where its bytes happen to be GBK too.
    for (const char* text : {"\xE6\x98\xBE\xE7\xA4\xBA\xE7\xB3\xBB\xE7\xBB\x9F", "\xE5\xA2\x99"}) {
        dir.Write("utf8.xml", mark + "<R name=\"" + text + "\"/>\n");
        EXPECT_FALSE(LoadXmlFile(doc, dir.File("utf8.xml"), &status));
        EXPECT_EQ(XmlLoadStatusText(status), "is not in the GBK encoding and should be saved as GBK");
        EXPECT_EQ(doc.FirstChild(), nullptr);
    }
}

namespace {

struct Limit {
    const char* name;
    XmlLoadFault fault;
    // The file at the limit; one more of what is counted goes over it.
    std::function<std::string(long long more)> file;
    const char* named; // how the operator is told
};

std::string Repeat(const std::string& piece, long long times) {
    std::string s;
    s.reserve(piece.size() * static_cast<size_t>(times));
    for (long long i = 0; i < times; ++i)
        s += piece;
    return s;
}

const Limit kLimits[] = {
    {"Depth", XmlLoadFault::kTooDeep, [](long long more) { return Nested(kMaxXmlDepth + static_cast<int>(more)); },
     "nests elements more than 256 deep"},
    {"Elements", XmlLoadFault::kTooManyElements,
     [](long long more) { return "<R>" + Repeat("<a/>", kMaxXmlElements - 1 + more) + "</R>"; },
     "holds more than 250,000 elements"},
    // A comment and a run of text cost the parser as much as an element.
    {"Pieces", XmlLoadFault::kTooManyElements,
     [](long long more) {
         const long long pairs = (kMaxXmlElements - 1) / 2;
         return "<R>" + Repeat("<!---->x", pairs) + Repeat("<a/>", kMaxXmlElements - 1 - 2 * pairs + more) + "</R>";
     },
     "holds more than 250,000 elements"},
    {"Attributes", XmlLoadFault::kTooManyAttributes,
     [](long long more) {
         return std::string("<R a='' b='' c=''") + (more ? " d=''>" : ">") +
                Repeat("<a x='' y='' z=''/>", kMaxXmlAttributes / 3 - 1) + "</R>";
     },
     "holds more than 750,000 attributes"},
    {"AttributesOfOneElement", XmlLoadFault::kTooWideElement,
     [](long long more) {
         std::string s = "<R";
         for (long long i = 0; i < kMaxXmlAttributesPerElement + more; ++i)
             s += " a" + std::to_string(i) + "=''";
         return s + "/>";
     },
     "has an element with more than 256 attributes"},
    // "<R" and the text are what is counted.
    {"Text", XmlLoadFault::kTooMuchText,
     [](long long more) { return "<R>" + std::string(kMaxXmlTextBytes - 2 + more, 't') + "</R>"; },
     "holds more than 16 MiB of text"},
};

void PrintTo(const Limit& limit, std::ostream* out) { *out << limit.name; }

class XmlLimit : public testing::TestWithParam<Limit> {};

} // namespace

TEST_P(XmlLimit, LetsAFileAtTheLimitThroughAndRefusesOneOverItNamingTheLimit) {
    TempDir dir;
    TiXmlDocument doc;
    XmlLoadStatus status;
    dir.Write("at.xml", GetParam().file(0));
    EXPECT_TRUE(LoadXmlFile(doc, dir.File("at.xml"), &status)) << XmlLoadStatusText(status);
    dir.Write("over.xml", GetParam().file(1));
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("over.xml"), &status));
    EXPECT_EQ(status.fault, GetParam().fault);
    EXPECT_EQ(XmlLoadStatusText(status), std::string(GetParam().named) + ", over the limit");
    EXPECT_EQ(doc.FirstChild(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(EachLimit, XmlLimit, testing::ValuesIn(kLimits),
                         [](const testing::TestParamInfo<Limit>& info) { return info.param.name; });

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
    XmlLoadStatus status;
    ASSERT_EQ(mkdir(dir.File("folder.xml").c_str(), 0755), 0);
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("folder.xml"), &status));
    EXPECT_EQ(status.fault, XmlLoadFault::kNotAFile);
    // Nobody ever writes into this pipe: reading it would wait for good.
    ASSERT_EQ(mkfifo(dir.File("pipe.xml").c_str(), 0644), 0);
    EXPECT_FALSE(LoadXmlFile(doc, dir.File("pipe.xml"), &status));
    EXPECT_EQ(status.fault, XmlLoadFault::kNotAFile);
}
