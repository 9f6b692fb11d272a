#include "LargeFiles.h"

#include "core/XmlLoad.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using Attributes = std::vector<std::pair<std::string, std::string>>;

// GBK: "矩阵" (matrix), "信号源" (source), "切换" (switch).
const std::string kMatrixWord = "\xBE\xD8\xD5\xF3";
const std::string kSourceWord = "\xD0\xC5\xBA\xC5\xD4\xB4";
const std::string kSwitchWord = "\xC7\xD0\xBB\xBB";
// "主控室大厅 " (the main control room's hall), "摄像机 " (camera).
const std::string kHallWord = "\xD6\xF7\xBF\xD8\xCA\xD2\xB4\xF3\xCC\xFC ";
const std::string kCameraWord = "\xC9\xE3\xCF\xF1\xBB\xFA ";

std::string Sample(const std::string& name) {
    std::ifstream in(std::string(VELTRANO_SOURCE_DIR) + "/res/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Writes XML and counts it as the file limits count it (core/XmlLoad.cpp): an element is its "<name" of text, an
// attribute its name="value", a run of text its bytes; end tags and white space between tags count nothing.
// Values made with Long() are a unique head and as many padding bytes as the text limit leaves, shared out among
// them, so that a file made twice, once to count, comes to the text limit exactly.
class LimitWriter {
public:
    explicit LimitWriter(const XmlLimits& limits, long long padding = 0, long long longValues = 1)
        : m_limits(limits), m_each(padding / longValues), m_more(padding % longValues) {}

    void Open(const std::string& tag, const Attributes& attributes = {}, bool empty = false) {
        Count(1, 0, 1 + static_cast<long long>(tag.size()));
        m_out += "<" + tag;
        for (const auto& [name, value] : attributes) {
            Count(0, 1, static_cast<long long>(name.size() + 3 + value.size()));
            m_out += " " + name + "=\"" + value + "\"";
        }
        m_out += empty ? "/>\n" : ">";
    }
    void Empty(const std::string& tag, const Attributes& attributes = {}) { Open(tag, attributes, true); }
    void Close(const std::string& tag) { m_out += "</" + tag + ">\n"; }
    void Text(const std::string& text) {
        Count(1, 0, static_cast<long long>(text.size()));
        m_out += text;
    }
    std::string Long(const std::string& head) {
        ++m_longValues;
        const long long pad = m_each + (m_longValues <= m_more ? 1 : 0);
        return head + std::string(static_cast<size_t>(pad), 'x');
    }

    long long Elements() const { return m_elements; }
    long long AttributesLeft() const { return m_limits.attributes - m_attributes; }
    long long ElementsLeft() const { return m_limits.elements - m_elements; }
    long long TextLeft() const { return m_limits.textBytes - m_text; }
    long long LongValues() const { return m_longValues; }
    // The file, checked against every limit.
    const std::string& File() const {
        if (ElementsLeft() < 0 || AttributesLeft() < 0 || TextLeft() < 0 ||
            static_cast<long long>(m_out.size()) > m_limits.fileBytes)
            throw std::logic_error("a large file over its limits");
        return m_out;
    }

private:
    void Count(long long elements, long long attributes, long long text) {
        m_elements += elements;
        m_attributes += attributes;
        m_text += text;
    }

    XmlLimits m_limits;
    long long m_each;
    long long m_more;
    std::string m_out;
    long long m_elements = 0;
    long long m_attributes = 0;
    long long m_text = 0;
    long long m_longValues = 0;
};

// Makes the file once to count what its long values leave of the text limit, then again with that shared out.
template <class Make> std::string AtTheLimits(const XmlLimits& limits, Make make) {
    LimitWriter count(limits);
    make(count);
    LimitWriter file(limits, count.TextLeft(), count.LongValues());
    make(file);
    if (file.TextLeft() != 0 || file.ElementsLeft() != 0 || file.AttributesLeft() != 0)
        throw std::logic_error("a worst file short of its limits");
    return file.File();
}

// The attributes rows may carry beyond their own, shared out evenly among the rows still to come.
class Spare {
public:
    Spare(long long attributes, long long rows) : m_left(attributes), m_rows(rows) {}
    // Adds the next row's share, taken from the front of the list.
    void Add(Attributes& attributes, const Attributes& optional) {
        long long share = m_rows > 0 ? (m_left + m_rows - 1) / m_rows : 0;
        --m_rows;
        for (size_t k = 0; k < optional.size() && share > 0; ++k, --share, --m_left)
            attributes.push_back(optional[k]);
    }

private:
    long long m_left;
    long long m_rows;
};

const Attributes kUnread = {{"x", ""}, {"y", ""}, {"z", ""}};

Attributes Joined(Attributes a, const Attributes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void WorstCommands(LimitWriter& w) {
    w.Open("COMMANDS");
    const long long rows = w.ElementsLeft();
    Spare spare(w.AttributesLeft() - 2 * rows, rows);
    for (long long i = 0; i < rows; ++i) {
        Attributes a = {{"name", w.Long("C" + std::to_string(i) + "-")}, {"code", "1"}};
        spare.Add(a, Joined({{"param", "2"}}, kUnread));
        w.Empty("CMD", a);
    }
    w.Close("COMMANDS");
}

// The sections the program reads, for a 16 x 16 wall with 20 scenes.
void Settings(LimitWriter& w) {
    w.Empty("SYSTEMINFO", {{"name", "Veltrano"}, {"version", "1.0"}, {"company", "Veltrano"}, {"title", "Wall"}});
    w.Empty("COMM", {{"port", "COM1"}, {"baudrate", "9600"}, {"databit", "8"}, {"stopbit", "0"}, {"parity", "0"}});
    w.Open("MONITORCTRL");
    w.Empty("COMM", {{"port", "COM3"}, {"baudrate", "9600"}, {"databit", "8"}, {"stopbit", "0"}, {"parity", "0"}});
    w.Close("MONITORCTRL");
    w.Empty("FRAMEEFFECT", {{"enable", "false"}, {"horizontal", "12"}, {"vertical", "8"}});
    w.Empty("MATRIXPAGE", {{"itemX1", "0"}, {"item02", "0"}, {"item12", "-1"}, {"item22", "-1"}, {"item32", "-1"}});
    w.Open("COMPONENT");
    w.Empty("PIP", {{"enable", "true"}});
    w.Close("COMPONENT");
    w.Open("LCDWALL", {{"row", "16"}, {"col", "16"}, {"pixel", "6"}});
    w.Open("OUTPUT_MAPPING");
    for (int unit = 0; unit < 256; ++unit)
        w.Empty("ITEM", {{"row", std::to_string(unit / 16 + 1)},
                         {"col", std::to_string(unit % 16 + 1)},
                         {"output", std::to_string(unit + 1)}});
    w.Close("OUTPUT_MAPPING");
    w.Close("LCDWALL");
}

Attributes SceneSlot(int id, const std::string& name) {
    return {{"id", std::to_string(id)}, {"name", name}, {"left", "1"}, {"top", "1"}, {"right", "16"}, {"bottom", "16"}};
}

void WorstSettings(LimitWriter& w) {
    w.Open("SYSTEM");
    Settings(w);
    w.Open("SCENE");
    // The other slots first: the first takes what the limits leave.
    for (int id = 2; id <= 20; ++id)
        w.Empty("ITEM", SceneSlot(id, "S" + std::to_string(id)));
    w.Open("ITEM", SceneSlot(1, "S1"));
    const long long rows = w.ElementsLeft();
    Spare spare(w.AttributesLeft() - 2 * rows, rows);
    for (long long i = 0; i < rows; ++i) {
        Attributes a = {{"input", "1"}, {"output", "1"}};
        spare.Add(a,
                  Joined({{"matrix", w.Long("x" + std::to_string(i) + "-")}, {"msg", "m"}, {"port", "COM1"}}, kUnread));
        w.Empty("MATRIXREC", a);
    }
    w.Close("ITEM");
    w.Close("SCENE");
    w.Close("SYSTEM");
}

void WorstMatrices(LimitWriter& w) {
    w.Open("MATRIXLIST");
    // Each matrix: itself, SIGNAL, COMM, CHANNEL, its messages, and named channels with the rest of its share of
    // the elements.
    const long long share = w.ElementsLeft() / kMaxMatrices;
    const long long more = w.ElementsLeft() % kMaxMatrices;
    const long long messages = kMaxMatrixMessages;
    const long long channels = share - 4 - messages;
    const long long rows = kMaxMatrices * (messages + channels) + more;
    Spare spare(w.AttributesLeft() - kMaxMatrices * (2 + 2 + 1 + 1) - kMaxMatrices * messages -
                    2 * (rows - kMaxMatrices * messages),
                rows);
    for (int m = 0; m < kMaxMatrices; ++m) {
        w.Open("MATRIX", {{"name", w.Long(kMatrixWord + std::to_string(m) + "-")}, {"type", "VGA"}});
        for (long long i = 0; i < messages; ++i) {
            Attributes a = {{"name", w.Long(kSwitchWord + std::to_string(i) + "-")}};
            spare.Add(a, Joined({{"followup_item", "none"}, {"followup_delay", "0"}}, kUnread));
            w.Empty("MESSAGE", a);
        }
        w.Empty("SIGNAL", {{"type", "VGA"}, {"grow_type", "VGA"}});
        w.Empty("COMM", {{"indep", "false"}});
        w.Open("CHANNEL", {{"count", "9999"}});
        for (long long c = 1; c <= channels + (m < more ? 1 : 0); ++c) {
            Attributes a = {{"id", std::to_string(c)}, {"name", w.Long(kSourceWord + std::to_string(c) + "-")}};
            spare.Add(a, kUnread);
            w.Empty("ITEM", a);
        }
        w.Close("CHANNEL");
        w.Close("MATRIX");
    }
    w.Close("MATRIXLIST");
}

} // namespace

LargeFiles WorstAcceptedFiles() {
    return {AtTheLimits(kCommandFileLimits, WorstCommands), AtTheLimits(kSettingsFileLimits, WorstSettings),
            AtTheLimits(kMatrixFileLimits, WorstMatrices)};
}

LargeFiles LargestInstallation() {
    LargeFiles files;
    files.command = Sample("command.xml");

    LimitWriter system(kSettingsFileLimits);
    system.Open("SYSTEM");
    Settings(system);
    system.Open("SCENE");
    for (int id = 1; id <= 20; ++id) {
        system.Open("ITEM", SceneSlot(id, kSwitchWord + " " + std::to_string(id)));
        // Seven matrices switched to each of the 256 units.
        for (int s = 0; s < 1792; ++s)
            system.Empty("MATRIXREC", {{"matrix", "VGA" + kMatrixWord + " 16x16 " + kHallWord + std::to_string(s % 7)},
                                       {"msg", kSwitchWord},
                                       {"port", "COM" + std::to_string(10 + s % 7)},
                                       {"input", std::to_string(s % 1024 + 1)},
                                       {"output", std::to_string(s / 7 + 1)}});
        system.Close("ITEM");
    }
    system.Close("SCENE");
    system.Close("SYSTEM");
    files.system = "<?xml version=\"1.0\" encoding=\"GBK\"?>\n" + system.File();

    LimitWriter matrix(kMatrixFileLimits);
    matrix.Open("MATRIXLIST");
    for (int m = 0; m < 64; ++m) {
        matrix.Open("MATRIX",
                    {{"name", "VGA" + kMatrixWord + " 16x16 " + kHallWord + std::to_string(m)}, {"type", "VGA"}});
        // Twenty switching messages as the sample's first: a constant, input and output less one, and a checksum.
        for (int i = 0; i < 20; ++i) {
            matrix.Open("MESSAGE", {{"name", kSwitchWord + std::to_string(i)}});
            matrix.Open("BYTES", {{"type", "hex"}});
            matrix.Text("A5");
            matrix.Close("BYTES");
            for (const char* segment : {"IN", "OUT"}) {
                matrix.Open(segment);
                matrix.Empty("do", {{"plus", "-1"}});
                matrix.Close(segment);
            }
            matrix.Empty("CHKXOR", {{"from", "0"}, {"to", "2"}});
            matrix.Close("MESSAGE");
        }
        matrix.Empty("SIGNAL", {{"type", "VGA"}, {"grow_type", "VGA"}});
        matrix.Empty("COMM", {{"indep", "true"},
                              {"port", "COM" + std::to_string(10 + m)},
                              {"baudrate", "9600"},
                              {"stopbit", "0"},
                              {"databit", "8"},
                              {"parity", "0"}});
        matrix.Open("CHANNEL", {{"count", "1024"}});
        for (int c = 1; c <= 1024; ++c)
            matrix.Empty("ITEM", {{"id", std::to_string(c)}, {"name", kCameraWord + std::to_string(c)}});
        matrix.Close("CHANNEL");
        matrix.Close("MATRIX");
    }
    matrix.Close("MATRIXLIST");
    files.matrix = "<?xml version=\"1.0\" encoding=\"GBK\"?>\n" + matrix.File();
    return files;
}
