#include "HostileFiles.h"

#include "CaseRandom.h"

#include "core/XmlLoad.h"

#include <fstream>
#include <sstream>
#include <tinyxml.h>
#include <unistd.h>
#include <vector>

#ifndef VELTRANO_SOURCE_DIR
#error "VELTRANO_SOURCE_DIR must name the source tree"
#endif

namespace {

const std::vector<std::string> kTags = {
    "SYSTEM",  "COMM",  "MONITORCTRL", "FRAMEEFFECT", "MATRIXPAGE", "COMPONENT",  "PIP",
    "LCDWALL", "ITEM",  "SCENE",       "MATRIXREC",   "SYSTEMINFO", "MATRIXLIST", "MATRIX",
    "MESSAGE", "BYTES", "IN",          "LOWIN",       "HIGHIN",     "OUT",        "CHKPLUS",
    "CHKXOR",  "do",    "SIGNAL",      "CHANNEL",     "CMD",        "COMMANDS",   "OUTPUT_MAPPING"};

const std::vector<std::string> kAttributes = {
    "port",   "baudrate", "databit", "stopbit",   "parity", "enable", "horizontal",    "vertical",
    "itemX1", "item02",   "item12",  "item22",    "item32", "row",    "col",           "pixel",
    "output", "id",       "name",    "left",      "top",    "right",  "bottom",        "matrix",
    "msg",    "input",    "type",    "grow_type", "indep",  "count",  "followup_item", "followup_delay",
    "width",  "from",     "to",      "plus",      "div",    "mod",    "and",           "code",
    "param",  "title"};

const std::vector<std::string> kValues = {"-1",
                                          "0",
                                          "1",
                                          "2",
                                          "3",
                                          "4",
                                          "5",
                                          "7",
                                          "8",
                                          "9",
                                          "15",
                                          "16",
                                          "17",
                                          "32",
                                          "33",
                                          "127",
                                          "128",
                                          "255",
                                          "256",
                                          "257",
                                          "264",
                                          "300",
                                          "1024",
                                          "65535",
                                          "65536",
                                          "2147483647",
                                          "2147483648",
                                          "-2147483648",
                                          "-2147483649",
                                          "4294967295",
                                          "4294967296",
                                          "99999999999999999999",
                                          "-99999999999999999999",
                                          "",
                                          " ",
                                          "abc",
                                          "0x10",
                                          "0X7fffffff",
                                          "1e9",
                                          "+-1",
                                          "--5",
                                          " 12 ",
                                          "12abc",
                                          "1.5",
                                          "+7",
                                          "\t-3\n",
                                          "true",
                                          "TRUE",
                                          "false",
                                          "hex",
                                          "HEX",
                                          "alpha",
                                          "number",
                                          "COM1",
                                          "COM001",
                                          "COM5",
                                          "COM255",
                                          "COM256",
                                          "COM0",
                                          "\\\\.\\COM3",
                                          "../../dev/sda",
                                          "/dev/ttyS0",
                                          "FF",
                                          "A5",
                                          "0x",
                                          "-0",
                                          "00000000000000000000001"};

// Text of the length in one of a few kinds: letters, digits, GBK characters, or bytes of any value.
std::string LongText(CaseRandom& random, size_t length) {
    std::string text;
    text.reserve(length);
    const size_t kind = random.Below(4);
    while (text.size() < length) {
        switch (kind) {
        case 0: text += 'A'; break;
        case 1: text += static_cast<char>('0' + random.Below(10)); break;
        case 2: text += "\xC7\xD0\xBB\xBB"; break;
        default: text += static_cast<char>(1 + random.Below(255)); break;
        }
    }
    text.resize(length);
    return text;
}

// Bytes that are not GBK: lead bytes without trail bytes, trail bytes alone, the unused corners of the table.
std::string GbkGarbage(CaseRandom& random) {
    std::string text;
    const size_t length = 1 + random.Below(40);
    for (size_t i = 0; i < length; ++i)
        text += static_cast<char>(0x80 + random.Below(0x80));
    if (random.Chance(50))
        text += '\x81'; // a lead byte at the very end
    return text;
}

std::vector<TiXmlElement*> Elements(TiXmlDocument& doc) {
    std::vector<TiXmlElement*> all;
    std::vector<TiXmlElement*> stack;
    if (TiXmlElement* root = doc.RootElement())
        stack.push_back(root);
    while (!stack.empty()) {
        TiXmlElement* e = stack.back();
        stack.pop_back();
        all.push_back(e);
        for (TiXmlElement* c = e->FirstChildElement(); c; c = c->NextSiblingElement())
            stack.push_back(c);
    }
    return all;
}

TiXmlAttribute* AttributeAt(TiXmlElement* e, size_t index) {
    TiXmlAttribute* a = e->FirstAttribute();
    for (; a && index > 0; --index)
        a = a->Next();
    return a;
}

size_t AttributeCount(TiXmlElement* e) {
    size_t n = 0;
    for (TiXmlAttribute* a = e->FirstAttribute(); a; a = a->Next())
        ++n;
    return n;
}

bool IsWithin(TiXmlNode* node, TiXmlNode* ancestor) {
    for (; node; node = node->Parent())
        if (node == ancestor)
            return true;
    return false;
}

// One change of the parsed tree.
void MutateTree(CaseRandom& random, TiXmlDocument& doc) {
    std::vector<TiXmlElement*> elements = Elements(doc);
    if (elements.empty())
        return;
    TiXmlElement* e = random.Pick(elements);
    const size_t attributes = AttributeCount(e);
    TiXmlAttribute* attribute = attributes ? AttributeAt(e, random.Below(attributes)) : nullptr;
    const std::string name = attribute && random.Chance(70) ? attribute->Name() : random.Pick(kAttributes);
    switch (random.Below(11)) {
    case 0:
    case 1: e->SetAttribute(name.c_str(), random.Pick(kValues).c_str()); break;
    case 2: {
        static const std::vector<size_t> lengths = {100, 300, 5000, 70000};
        const std::string text = LongText(random, random.Pick(lengths));
        if (random.Chance(50))
            e->SetAttribute(name.c_str(), text.c_str());
        else
            e->LinkEndChild(new TiXmlText(text.c_str()));
        break;
    }
    case 3:
        if (random.Chance(50))
            e->SetAttribute(name.c_str(), GbkGarbage(random).c_str());
        else
            e->LinkEndChild(new TiXmlText(GbkGarbage(random).c_str()));
        break;
    case 4: { // wide: copies of one element beside it
        if (e == doc.RootElement())
            break;
        static const std::vector<int> copies = {2, 20, 300, 300, 3000};
        const int n = random.Pick(copies);
        for (int i = 0; i < n; ++i)
            e->Parent()->InsertAfterChild(e, *e);
        break;
    }
    case 5:
        if (attribute && random.Chance(50))
            e->RemoveAttribute(attribute->Name());
        else if (e != doc.RootElement())
            e->Parent()->RemoveChild(e);
        break;
    case 6:
        if (attribute && random.Chance(50)) {
            const std::string value = attribute->Value();
            e->RemoveAttribute(attribute->Name());
            e->SetAttribute(random.Pick(kAttributes).c_str(), value.c_str());
        } else {
            e->SetValue(random.Pick(kTags).c_str());
        }
        break;
    case 7: { // moved under another element, never into itself
        TiXmlElement* target = random.Pick(elements);
        if (e == doc.RootElement() || IsWithin(target, e))
            break;
        TiXmlElement copy(*e);
        e->Parent()->RemoveChild(e);
        target->InsertEndChild(copy);
        break;
    }
    case 8: { // follow-ups that chain back, with delays of any size
        std::vector<TiXmlElement*> messages;
        for (TiXmlElement* m : elements)
            if (std::string(m->Value()) == "MESSAGE")
                messages.push_back(m);
        if (messages.empty())
            break;
        TiXmlElement* from = random.Pick(messages);
        const char* to = random.Pick(messages)->Attribute("name");
        from->SetAttribute("followup_item", to ? to : "");
        from->SetAttribute("followup_delay", random.Pick(kValues).c_str());
        break;
    }
    case 9:
        if (attribute) {
            std::string value = attribute->Value();
            for (char& c : value)
                c = random.Chance(50) ? static_cast<char>(toupper(static_cast<unsigned char>(c)))
                                      : static_cast<char>(tolower(static_cast<unsigned char>(c)));
            attribute->SetValue(value.c_str());
        }
        break;
    default:
        while (e->FirstAttribute())
            e->RemoveAttribute(e->FirstAttribute()->Name());
        break;
    }
}

// One change of the bytes.
void MutateBytes(CaseRandom& random, std::string& text) {
    switch (random.Below(6)) {
    case 0: { // flipped bytes
        const size_t n = 1 + random.Below(8);
        for (size_t i = 0; i < n && !text.empty(); ++i)
            text[random.Below(text.size())] = static_cast<char>(random.Below(256));
        break;
    }
    case 1: text.resize(random.Below(text.size() + 1)); break; // cut
    case 2: {                                                  // deep: nesting inserted after some tag
        static const std::vector<size_t> depths = {50, 255, 256, 300, 5000, 100000};
        const size_t depth = random.Pick(depths);
        const std::string tag = random.Pick(kTags);
        size_t at = text.find('>', random.Below(text.size() + 1));
        at = at == std::string::npos ? text.size() : at + 1;
        std::string nest;
        for (size_t i = 0; i < depth; ++i)
            nest += "<" + tag + ">";
        for (size_t i = 0; i < depth; ++i)
            nest += "</" + tag + ">";
        text.insert(at, nest);
        break;
    }
    case 3: { // markup out of place
        static const std::vector<std::string> junk = {"<",         ">",
                                                      "&",         "]]>",
                                                      "<!--",      "<?",
                                                      "&#0;",      "&#xFFFFFFFF;",
                                                      "&bogus;",   std::string(1, '\0'),
                                                      "\"",        "'",
                                                      "</>",       "<a b=>",
                                                      "<![CDATA[", "\xEF\xBB\xBF"};
        text.insert(random.Below(text.size() + 1), random.Pick(junk));
        break;
    }
    case 4: { // a slice repeated elsewhere
        if (text.empty())
            break;
        const size_t from = random.Below(text.size());
        const std::string slice = text.substr(from, random.Below(2000));
        text.insert(random.Below(text.size() + 1), slice);
        break;
    }
    default: text.insert(random.Below(text.size() + 1), GbkGarbage(random)); break;
    }
}

std::string Mutate(CaseRandom& random, const std::string& sample) {
    TiXmlDocument doc;
    doc.Parse(sample.c_str(), nullptr, TIXML_ENCODING_LEGACY);
    const size_t treeChanges = random.Below(4);
    for (size_t i = 0; i < treeChanges; ++i)
        MutateTree(random, doc);
    TiXmlPrinter printer;
    doc.Accept(&printer);
    std::string text = printer.Str();
    // Most cases stay well-formed, so that the readers behind the parser are tried too.
    if (treeChanges == 0 || random.Chance(35)) {
        const size_t byteChanges = 1 + random.Below(3);
        for (size_t i = 0; i < byteChanges; ++i)
            MutateBytes(random, text);
    }
    return text;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

ConfigurationFiles SampleConfiguration() {
    const std::string res = std::string(VELTRANO_SOURCE_DIR) + "/res/";
    ConfigurationFiles files;
    files.command = ReadFile(res + "command.xml");
    files.system = ReadFile(res + "system.xml");
    files.matrix = ReadFile(res + "matrix.xml");
    return files;
}

void WriteConfiguration(const std::string& folder, const ConfigurationFiles& files) {
    WriteFile(folder + "/command.xml", files.command);
    WriteFile(folder + "/system.xml", files.system);
    WriteFile(folder + "/matrix.xml", files.matrix);
    if (!files.sparseFile.empty() && truncate((folder + "/" + files.sparseFile).c_str(), files.sparseSize) != 0)
        WriteFile(folder + "/" + files.sparseFile, ""); // cannot happen on a local file system; an empty file then
}

ConfigurationFiles ReadConfiguration(const std::string& folder) {
    ConfigurationFiles files;
    files.command = ReadFile(folder + "/command.xml");
    files.system = ReadFile(folder + "/system.xml");
    files.matrix = ReadFile(folder + "/matrix.xml");
    return files;
}

ConfigurationFiles MakeHostileCase(uint64_t seed, uint64_t index, const ConfigurationFiles& samples) {
    CaseRandom random(seed * 0x100000001B3ULL ^ (index + 1) * 0x9E3779B97F4A7C15ULL);
    ConfigurationFiles files = samples;
    std::string* texts[] = {&files.command, &files.system, &files.matrix};
    bool changed = false;
    for (std::string* text : texts) {
        if (random.Chance(55)) {
            *text = Mutate(random, *text);
            changed = true;
        }
    }
    if (!changed)
        files.matrix = Mutate(random, files.matrix);
    // Now and then a file of gigabytes.
    if (random.Chance(1)) {
        static const std::vector<std::string> names = {"command.xml", "system.xml", "matrix.xml"};
        static const std::vector<long long> sizes = {kMaxXmlFileBytes, kMaxXmlFileBytes + 1, 200LL << 20, 20LL << 30};
        files.sparseFile = random.Pick(names);
        files.sparseSize = random.Pick(sizes);
    }
    return files;
}
