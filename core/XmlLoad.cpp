#include "XmlLoad.h"

#include "ErrorMessage.h"
#include "platform/os/Gbk.h"
#include "platform/os/RegularFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <new>
#include <tinyxml.h>
#include <unistd.h>

namespace {

// The file is measured as the parser reads the text, construct by construct, for the parser recurses once per
// element it enters and spends memory on each node and attribute it makes: a count that read some text
// differently (a quote in the wrong place, a stray '<') could let a deep or huge file through to it. Where the
// parser would give up, the count stops too: nothing after is read, and nothing after is built.
class ShapeCounter {
public:
    explicit ShapeCounter(std::string_view s) : m_s(s) {}

    XmlShape Measure() {
        while (m_at < m_s.size()) {
            if (m_s[m_at] != '<') {
                Text();
                continue;
            }
            if (!Markup())
                break;
        }
        return m_shape;
    }

private:
    static bool IsSpace(unsigned char c) { return std::isspace(c) != 0; }
    // The parser takes every byte above 126 for a letter (GBK names).
    static bool IsNameStart(unsigned char c) { return c >= 127 || std::isalpha(c) || c == '_'; }
    static bool IsNameChar(unsigned char c) {
        return c >= 127 || std::isalnum(c) || c == '_' || c == '-' || c == '.' || c == ':';
    }
    bool StartsWith(const char* text, bool ignoreCase = false) const {
        for (size_t i = 0; text[i]; ++i) {
            if (m_at + i >= m_s.size())
                return false;
            const auto a = static_cast<unsigned char>(m_s[m_at + i]);
            const auto b = static_cast<unsigned char>(text[i]);
            if (ignoreCase ? std::tolower(a) != std::tolower(b) : a != b)
                return false;
        }
        return true;
    }
    // Moves past the terminator; false when there is none.
    bool SkipPast(const char* terminator) {
        const size_t found = m_s.find(terminator, m_at);
        if (found == std::string_view::npos)
            return false;
        m_at = found + std::char_traits<char>::length(terminator);
        return true;
    }
    void SkipSpaces() {
        while (m_at < m_s.size() && IsSpace(static_cast<unsigned char>(m_s[m_at])))
            ++m_at;
    }
    void SkipName() {
        while (m_at < m_s.size() && IsNameChar(static_cast<unsigned char>(m_s[m_at])))
            ++m_at;
    }
    // Counts what lies from `from` to here as the text of one node.
    void Node(size_t from) {
        ++m_shape.elements;
        m_shape.textBytes += static_cast<long long>(m_at - from);
    }
    // A run of text up to the next '<': a node unless it is only white space.
    void Text() {
        const size_t from = m_at;
        bool blank = true;
        while (m_at < m_s.size() && m_s[m_at] != '<') {
            blank = blank && IsSpace(static_cast<unsigned char>(m_s[m_at]));
            ++m_at;
        }
        if (!blank)
            Node(from);
    }
    // name = "value", 'value' or an unquoted value; false where the parser gives up.
    bool Attribute() {
        if (m_at >= m_s.size() || !IsNameStart(static_cast<unsigned char>(m_s[m_at])))
            return false;
        const size_t from = m_at;
        SkipName();
        SkipSpaces();
        if (m_at >= m_s.size() || m_s[m_at] != '=')
            return false;
        ++m_at;
        SkipSpaces();
        if (m_at < m_s.size() && (m_s[m_at] == '"' || m_s[m_at] == '\'')) {
            const char quote[2] = {m_s[m_at++], '\0'};
            if (!SkipPast(quote))
                return false;
        } else {
            while (m_at < m_s.size() && !IsSpace(static_cast<unsigned char>(m_s[m_at])) && m_s[m_at] != '/' &&
                   m_s[m_at] != '>') {
                if (m_s[m_at] == '"' || m_s[m_at] == '\'')
                    return false;
                ++m_at;
            }
        }
        ++m_shape.attributes;
        m_shape.textBytes += static_cast<long long>(m_at - from);
        return true;
    }
    // One construct at a '<'; false where the parser gives up.
    bool Markup() {
        const size_t from = m_at;
        bool ok = true;
        if (StartsWith("<?xml", true)) {
            // Only the three attributes of the declaration are read with their quotes.
            m_at += 5;
            ok = false;
            while (m_at < m_s.size()) {
                if (m_s[m_at] == '>') {
                    ++m_at;
                    ok = true;
                    break;
                }
                SkipSpaces();
                if (StartsWith("version", true) || StartsWith("encoding", true) || StartsWith("standalone", true)) {
                    if (!Attribute())
                        break;
                } else {
                    while (m_at < m_s.size() && m_s[m_at] != '>' && !IsSpace(static_cast<unsigned char>(m_s[m_at])))
                        ++m_at;
                }
            }
        } else if (StartsWith("<!--")) {
            ok = SkipPast("-->");
        } else if (StartsWith("<![CDATA[")) {
            ok = SkipPast("]]>");
        } else if (StartsWith("</")) {
            // Inside an element the parser leaves it here; outside any, it reads it as unknown markup.
            if (m_depth > 0)
                --m_depth;
            return SkipPast(">");
        } else if (m_at + 1 < m_s.size() && IsNameStart(static_cast<unsigned char>(m_s[m_at + 1]))) {
            return Element();
        } else {
            ok = SkipPast(">"); // a declaration, an instruction or anything else: up to the first '>'
        }
        if (!ok)
            m_at = m_s.size();
        // What the parser read before it gave up may stand in memory when it does.
        Node(from);
        return ok;
    }
    bool Element() {
        ++m_depth;
        m_shape.deepest = std::max(m_shape.deepest, m_depth);
        const size_t from = m_at;
        ++m_at;
        SkipName();
        Node(from);
        int attributes = 0;
        while (true) {
            SkipSpaces();
            if (m_at >= m_s.size())
                return false;
            if (m_s[m_at] == '>') {
                ++m_at;
                return true;
            }
            if (m_s[m_at] == '/') {
                if (m_at + 1 >= m_s.size() || m_s[m_at + 1] != '>')
                    return false;
                m_at += 2;
                --m_depth;
                return true;
            }
            if (!Attribute())
                return false;
            m_shape.widest = std::max(m_shape.widest, ++attributes);
        }
    }

    const std::string_view m_s;
    size_t m_at = 0;
    int m_depth = 0;
    XmlShape m_shape;
};

} // namespace

XmlShape MeasureXml(std::string_view bytes) { return ShapeCounter(bytes).Measure(); }

int XmlNestingDepth(const std::string& bytes) { return MeasureXml(bytes).deepest; }

namespace {

// The first limit the shape goes over, with that limit; kNone within all of them.
XmlLoadFault LimitExceeded(const XmlShape& shape, const XmlLimits& limits, long long& limit) {
    const struct {
        long long count;
        long long most;
        XmlLoadFault fault;
    } checks[] = {{shape.deepest, kMaxXmlDepth, XmlLoadFault::kTooDeep},
                  {shape.elements, limits.elements, XmlLoadFault::kTooManyElements},
                  {shape.attributes, limits.attributes, XmlLoadFault::kTooManyAttributes},
                  {shape.widest, kMaxXmlAttributesPerElement, XmlLoadFault::kTooWideElement},
                  {shape.textBytes, limits.textBytes, XmlLoadFault::kTooMuchText}};
    for (const auto& check : checks)
        if (check.count > check.most) {
            limit = check.most;
            return check.fault;
        }
    return XmlLoadFault::kNone;
}

// The matrices and their messages, counted on the parsed document; kNone within the limits.
XmlLoadFault ContentLimitExceeded(const TiXmlDocument& document, const XmlLimits& limits, long long& limit) {
    const TiXmlElement* root = document.RootElement();
    if (!root || limits.matrices <= 0)
        return XmlLoadFault::kNone;
    int matrices = 0;
    for (const TiXmlElement* m = root->FirstChildElement("MATRIX"); m; m = m->NextSiblingElement("MATRIX")) {
        if (++matrices > limits.matrices) {
            limit = limits.matrices;
            return XmlLoadFault::kTooManyMatrices;
        }
        int messages = 0;
        for (const TiXmlElement* e = m->FirstChildElement("MESSAGE"); e; e = e->NextSiblingElement("MESSAGE"))
            if (++messages > limits.messages) {
                limit = limits.messages;
                return XmlLoadFault::kTooManyMessages;
            }
    }
    return XmlLoadFault::kNone;
}

// Line ends become plain line feeds, as the parser's own file loading makes them, in place.
void PlainLineFeeds(std::string& bytes) {
    size_t to = 0;
    for (size_t from = 0; from < bytes.size(); ++from) {
        if (bytes[from] != '\r')
            bytes[to++] = bytes[from];
        else if (from + 1 >= bytes.size() || bytes[from + 1] != '\n')
            bytes[to++] = '\n';
    }
    bytes.resize(to);
}

// The line, from 1, of the byte at the position.
int LineOf(const std::string& bytes, size_t at) {
    return 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

size_t LastNonBlank(const std::string& bytes) {
    const size_t last = bytes.find_last_not_of(" \t\n\r\f\v");
    return last == std::string::npos ? 0 : last;
}

bool IsBlank(const std::string& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
}

// Reads the whole of an ordinary file, without waiting on anything else; kNone, or why not.
XmlLoadStatus ReadWhole(const std::string& path, long long maxBytes, std::string& bytes) {
    XmlLoadStatus status;
    // A folder would make the parser ask for an absurd amount of memory, and a pipe would block the start-up
    // for good: only an ordinary file is read, and opening never waits for a writer.
    const RegularFile file = OpenRegularFile(path);
    status.error = file.error;
    switch (file.fault) {
    case RegularFile::Fault::kNone: break;
    case RegularFile::Fault::kMissing: status.fault = XmlLoadFault::kMissing; return status;
    case RegularFile::Fault::kUnreadable: status.fault = XmlLoadFault::kUnreadable; return status;
    case RegularFile::Fault::kNotAFile: status.fault = XmlLoadFault::kNotAFile; return status;
    }
    const int fd = file.fd;
    if (file.size > maxBytes) {
        close(fd);
        status.fault = XmlLoadFault::kTooLarge;
        status.limit = maxBytes;
        return status;
    }
    // Held once, at its size: a buffer grown piece by piece would stand twice in memory while it moves. The size
    // may have grown since it was asked; the read stops one byte past the limit all the same.
    bytes.resize(static_cast<size_t>(file.size) + 1);
    size_t length = 0;
    while (true) {
        if (length == bytes.size()) {
            if (static_cast<long long>(length) > maxBytes)
                break;
            bytes.resize(std::min<size_t>(bytes.size() * 2 + 4096, static_cast<size_t>(maxBytes) + 1));
        }
        const ssize_t n = read(fd, &bytes[length], bytes.size() - length);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            status.error = errno;
            status.fault = XmlLoadFault::kUnreadable;
            break;
        }
        if (n == 0)
            break;
        length += static_cast<size_t>(n);
    }
    close(fd);
    bytes.resize(length);
    if (status.fault == XmlLoadFault::kNone && static_cast<long long>(length) > maxBytes) {
        status.fault = XmlLoadFault::kTooLarge;
        status.limit = maxBytes;
    }
    return status;
}

const char kUtf8Mark[] = "\xEF\xBB\xBF";

// Behind the UTF-8 mark an editor wrote, GBK text has no business: non-ASCII text there is GBK only when it is
// not UTF-8 (the mark put in front of a GBK file), though UTF-8 bytes may happen to be GBK too. A file without
// the mark is GBK as it stands, whatever bytes it holds.
bool IsGbkText(const std::string& bytes, bool marked) {
    if (!marked || std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; }))
        return true;
    return IsGbk(bytes) && !IsUtf8(bytes);
}

XmlLoadStatus Load(TiXmlDocument& document, const std::string& path) {
    const XmlLimits limits = XmlLimitsOf(path);
    std::string bytes;
    XmlLoadStatus status = ReadWhole(path, limits.fileBytes, bytes);
    if (status.fault != XmlLoadFault::kNone)
        return status;
    const bool marked = bytes.compare(0, 3, kUtf8Mark) == 0;
    if (marked)
        bytes.erase(0, 3);
    if (IsBlank(bytes)) {
        status.fault = XmlLoadFault::kEmpty;
        return status;
    }
    PlainLineFeeds(bytes);
    status.fault = LimitExceeded(MeasureXml(bytes), limits, status.limit);
    if (status.fault != XmlLoadFault::kNone)
        return status;
    // The bytes already read are parsed, so the parser never sees more than was measured.
    document.Clear();
    document.Parse(bytes.c_str(), nullptr, TIXML_ENCODING_LEGACY);
    if (document.Error()) {
        status.fault = XmlLoadFault::kBroken;
        // The parser gives no place when it found nothing to read at the start, or when it ran into the end of
        // the text (a file cut short), and names the line after the last when it ran into the end there.
        const int last = LineOf(bytes, LastNonBlank(bytes));
        if (document.ErrorId() == TiXmlBase::TIXML_ERROR_DOCUMENT_EMPTY)
            status.line = LineOf(bytes, std::min(bytes.find_first_not_of(" \t\n\r\f\v"), bytes.size()));
        else
            status.line = document.ErrorRow() > 0 ? std::min(document.ErrorRow(), last) : last;
    } else if (!document.RootElement()) {
        // The parser stops without a word at text outside any element; a file of comments alone has no element.
        status.fault = XmlLoadFault::kBroken;
        const size_t first = bytes.find_first_not_of(" \t\n\r\f\v");
        if (first != std::string::npos && bytes[first] != '<')
            status.line = LineOf(bytes, first);
    } else if (!IsGbkText(bytes, marked)) {
        status.fault = XmlLoadFault::kNotGbk;
    } else {
        status.fault = ContentLimitExceeded(document, limits, status.limit);
    }
    return status;
}

std::string Thousands(long long n) {
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), ",");
    return digits;
}

std::string Size(long long bytes) {
    return bytes >= (1 << 20) ? std::to_string(bytes >> 20) + " MiB" : std::to_string(bytes >> 10) + " KiB";
}

} // namespace

XmlLoadStatus XmlOverLimits(std::string_view bytes, const TiXmlDocument& document, const XmlLimits& limits) {
    XmlLoadStatus status;
    if (static_cast<long long>(bytes.size()) > limits.fileBytes) {
        status.fault = XmlLoadFault::kTooLarge;
        status.limit = limits.fileBytes;
        return status;
    }
    status.fault = LimitExceeded(MeasureXml(bytes), limits, status.limit);
    if (status.fault == XmlLoadFault::kNone)
        status.fault = ContentLimitExceeded(document, limits, status.limit);
    return status;
}

XmlLimits XmlLimitsOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name == "command.xml")
        return kCommandFileLimits;
    if (name == "system.xml")
        return kSettingsFileLimits;
    if (name == "matrix.xml")
        return kMatrixFileLimits;
    XmlLimits most = kCommandFileLimits;
    for (const XmlLimits& limits : {kSettingsFileLimits, kMatrixFileLimits}) {
        most.fileBytes = std::max(most.fileBytes, limits.fileBytes);
        most.elements = std::max(most.elements, limits.elements);
        most.attributes = std::max(most.attributes, limits.attributes);
        most.textBytes = std::max(most.textBytes, limits.textBytes);
    }
    return most;
}

bool LoadXmlFile(TiXmlDocument& document, const std::string& path, XmlLoadStatus* status) {
    XmlLoadStatus result;
    try {
        result = Load(document, path);
    } catch (const std::bad_alloc&) {
        // What the parser built so far goes; what it was building when the memory ran out may stay lost.
        result = XmlLoadStatus();
        result.fault = XmlLoadFault::kOutOfMemory;
    }
    if (result.fault != XmlLoadFault::kNone)
        document.Clear();
    if (status)
        *status = result;
    return result.fault == XmlLoadFault::kNone;
}

bool LoadXmlFile(TiXmlDocument& document, const std::string& path, XmlLoadFault* fault) {
    XmlLoadStatus status;
    const bool loaded = LoadXmlFile(document, path, &status);
    if (fault)
        *fault = status.fault;
    return loaded;
}

std::string XmlLoadStatusText(const XmlLoadStatus& status) {
    // A status that does not carry the limit it went over names the most generous one.
    const XmlLimits most = XmlLimitsOf("");
    const auto limit = [&status](long long fallback) { return status.limit > 0 ? status.limit : fallback; };
    switch (status.fault) {
    case XmlLoadFault::kNone: return "was read";
    case XmlLoadFault::kMissing: return "is missing";
    case XmlLoadFault::kUnreadable:
        return status.error ? "cannot be read (" + SystemErrorText(status.error) + ")" : "cannot be read";
    case XmlLoadFault::kNotAFile: return "is not an ordinary file";
    case XmlLoadFault::kEmpty: return "is empty";
    case XmlLoadFault::kTooLarge: return "is larger than " + Size(limit(most.fileBytes)) + ", the limit for the file";
    case XmlLoadFault::kTooDeep:
        return "nests elements more than " + std::to_string(kMaxXmlDepth) + " deep, over the limit";
    case XmlLoadFault::kTooManyElements:
        return "holds more than " + Thousands(limit(most.elements)) + " elements, over the limit";
    case XmlLoadFault::kTooManyAttributes:
        return "holds more than " + Thousands(limit(most.attributes)) + " attributes, over the limit";
    case XmlLoadFault::kTooWideElement:
        return "has an element with more than " + std::to_string(kMaxXmlAttributesPerElement) +
               " attributes, over the limit";
    case XmlLoadFault::kTooMuchText:
        return "holds more than " + Size(limit(most.textBytes)) + " of text, over the limit";
    case XmlLoadFault::kTooManyMatrices:
        return "holds more than " + std::to_string(limit(kMaxMatrices)) + " matrices, over the limit";
    case XmlLoadFault::kTooManyMessages:
        return "has a matrix with more than " + std::to_string(limit(kMaxMatrixMessages)) + " messages, over the limit";
    case XmlLoadFault::kOutOfMemory: return "could not be read: the memory ran out";
    case XmlLoadFault::kBroken:
        return status.line > 0 ? "is not valid XML at line " + std::to_string(status.line)
                               : "is not valid XML: it holds no element";
    case XmlLoadFault::kNotGbk: return "is not in the GBK encoding and should be saved as GBK";
    }
    return "cannot be read";
}

std::string XmlLoadFaultText(XmlLoadFault fault) {
    XmlLoadStatus status;
    status.fault = fault;
    return "it " + XmlLoadStatusText(status);
}
