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

TEST(LoadXmlFile, CountsTheMatricesOfAMatrixFileAndTheMessagesOfEach) {
    TempDir dir;
    std::string messages;
    for (int i = 0; i < kMaxMatrixMessages; ++i)
        messages += "<MESSAGE/>";
    std::string matrices = "<MATRIX>" + messages + "</MATRIX>";
    for (int i = 1; i < kMaxMatrices; ++i)
        matrices += "<MATRIX/>";
    const auto load = [&dir](const std::string& name, const std::string& body) {
        dir.Write(name, "<MATRIXLIST>" + body + "</MATRIXLIST>");
        TiXmlDocument doc;
        XmlLoadStatus status;
        LoadXmlFile(doc, dir.File(name), &status);
        return XmlLoadStatusText(status);
    };
    EXPECT_EQ(load("matrix.xml", matrices), "was read");
    EXPECT_EQ(load("matrix.xml", matrices + "<MATRIX/>"), "holds more than 256 matrices, over the limit");
    EXPECT_EQ(load("matrix.xml", "<MATRIX>" + messages + "<MESSAGE/></MATRIX>"),
              "has a matrix with more than 256 messages, over the limit");
    EXPECT_EQ(load("other.xml", matrices + "<MATRIX/>"), "was read"); // the counts are the matrix file's own
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

// A limit, as one file at it and one over it, and how the operator is told of it.
struct Limit {
    const char* name;
    XmlLoadFault fault;
    std::function<std::string(const XmlLimits& limits, long long more)> file;
    int named; // which of the file's texts below tells it
};

// Each configuration file with its own limits, as the operator is told of them.
struct FileLimits {
    const char* file;
    XmlLimits limits;
    const char* told[6];
};

std::string Repeat(const std::string& piece, long long times) {
    std::string s;
    s.reserve(piece.size() * static_cast<size_t>(times));
    for (long long i = 0; i < times; ++i)
        s += piece;
    return s;
}

const Limit kLimits[] = {
    {"Depth", XmlLoadFault::kTooDeep,
     [](const XmlLimits&, long long more) { return Nested(kMaxXmlDepth + static_cast<int>(more)); }, 0},
    {"Elements", XmlLoadFault::kTooManyElements,
     [](const XmlLimits& l, long long more) { return "<R>" + Repeat("<a/>", l.elements - 1 + more) + "</R>"; }, 1},
    // A comment and a run of text cost the parser as much as an element.
    {"Pieces", XmlLoadFault::kTooManyElements,
     [](const XmlLimits& l, long long more) {
         const long long pairs = (l.elements - 1) / 2;
         return "<R>" + Repeat("<!---->x", pairs) + Repeat("<a/>", l.elements - 1 - 2 * pairs + more) + "</R>";
     },
     1},
    {"Attributes", XmlLoadFault::kTooManyAttributes,
     [](const XmlLimits& l, long long more) {
         std::string root = "<R";
         for (long long i = 0; i < l.attributes % 8 + more; ++i)
             root += " r" + std::to_string(i) + "=''";
         return root + ">" + Repeat("<a s='' t='' u='' v='' w='' x='' y='' z=''/>", l.attributes / 8) + "</R>";
     },
     2},
    {"AttributesOfOneElement", XmlLoadFault::kTooWideElement,
     [](const XmlLimits&, long long more) {
         std::string s = "<R";
         for (long long i = 0; i < kMaxXmlAttributesPerElement + more; ++i)
             s += " a" + std::to_string(i) + "=''";
         return s + "/>";
     },
     3},
    // "<R" and the text are what is counted.
    {"Text", XmlLoadFault::kTooMuchText,
     [](const XmlLimits& l, long long more) { return "<R>" + std::string(l.textBytes - 2 + more, 't') + "</R>"; }, 4},
};

const FileLimits kFileLimits[] = {
    {"command.xml",
     kCommandFileLimits,
     {"nests elements more than 256 deep", "holds more than 4,000 elements", "holds more than 12,000 attributes",
      "has an element with more than 256 attributes", "holds more than 256 KiB of text",
      "is larger than 1 MiB, the limit for the file"}},
    {"system.xml",
     kSettingsFileLimits,
     {"nests elements more than 256 deep", "holds more than 80,000 elements", "holds more than 360,000 attributes",
      "has an element with more than 256 attributes", "holds more than 8 MiB of text",
      "is larger than 16 MiB, the limit for the file"}},
    {"matrix.xml",
     kMatrixFileLimits,
     {"nests elements more than 256 deep", "holds more than 160,000 elements", "holds more than 300,000 attributes",
      "has an element with more than 256 attributes", "holds more than 6 MiB of text",
      "is larger than 16 MiB, the limit for the file"}},
};

void PrintTo(const Limit& limit, std::ostream* out) { *out << limit.name; }
void PrintTo(const FileLimits& file, std::ostream* out) { *out << file.file; }

class XmlLimit : public testing::TestWithParam<std::tuple<FileLimits, Limit>> {};

} // namespace

TEST_P(XmlLimit, LetsAFileAtItsLimitThroughAndRefusesOneOverItNamingTheLimit) {
    const auto& [file, limit] = GetParam();
    EXPECT_EQ(XmlLimitsOf(std::string("./") + file.file).elements, file.limits.elements);
    TempDir at;
    TempDir over;
    TiXmlDocument doc;
    XmlLoadStatus status;
    at.Write(file.file, limit.file(file.limits, 0));
    EXPECT_TRUE(LoadXmlFile(doc, at.File(file.file), &status)) << XmlLoadStatusText(status);
    over.Write(file.file, limit.file(file.limits, 1));
    EXPECT_FALSE(LoadXmlFile(doc, over.File(file.file), &status));
    EXPECT_EQ(status.fault, limit.fault);
    EXPECT_EQ(XmlLoadStatusText(status), std::string(file.told[limit.named]) + ", over the limit");
    EXPECT_EQ(doc.FirstChild(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(EachFileEachLimit, XmlLimit,
                         testing::Combine(testing::ValuesIn(kFileLimits), testing::ValuesIn(kLimits)),
                         [](const testing::TestParamInfo<std::tuple<FileLimits, Limit>>& info) {
                             const std::string file = std::get<0>(info.param).file;
                             return file.substr(0, file.find('.')) + std::get<1>(info.param).name;
                         });

TEST(LoadXmlFile, RefusesAFileOverItsSizeUnread) {
    TempDir dir;
    TiXmlDocument doc;
    XmlLoadStatus status;
    for (const FileLimits& file : kFileLimits) {
        // Sparse: the size is there without the disk space, and a reader that read it whole would take its time.
        dir.Write(file.file, "<R a=\"");
        ASSERT_EQ(truncate(dir.File(file.file).c_str(), file.limits.fileBytes + 1), 0);
        EXPECT_FALSE(LoadXmlFile(doc, dir.File(file.file), &status));
        EXPECT_EQ(XmlLoadStatusText(status), file.told[5]);
        ASSERT_EQ(truncate(dir.File(file.file).c_str(), 200LL * 1024 * 1024 * 1024), 0);
        EXPECT_FALSE(LoadXmlFile(doc, dir.File(file.file), &status));
        EXPECT_EQ(status.fault, XmlLoadFault::kTooLarge);
    }
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
