#include "XmlLoad.h"

#include "platform/os/FilePath.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <tinyxml.h>
#include <unistd.h>

namespace {

// The nesting is counted as the parser reads the text, construct by construct, for the parser recurses once per
// element it enters: a count that read some text differently (a quote in the wrong place, a stray '<') could let
// a deep file through to it. Where the parser would give up, the count stops too: nothing after is read.
class NestingCounter {
public:
    explicit NestingCounter(const std::string& s) : m_s(s) {}

    int Deepest() {
        while (m_at < m_s.size()) {
            if (m_s[m_at] != '<') {
                ++m_at;
                continue;
            }
            if (!Markup())
                break;
        }
        return m_deepest;
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
        if (found == std::string::npos)
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
    // name = "value", 'value' or an unquoted value; false where the parser gives up.
    bool Attribute() {
        if (m_at >= m_s.size() || !IsNameStart(static_cast<unsigned char>(m_s[m_at])))
            return false;
        SkipName();
        SkipSpaces();
        if (m_at >= m_s.size() || m_s[m_at] != '=')
            return false;
        ++m_at;
        SkipSpaces();
        if (m_at < m_s.size() && (m_s[m_at] == '"' || m_s[m_at] == '\'')) {
            const char quote[2] = {m_s[m_at++], '\0'};
            return SkipPast(quote);
        }
        while (m_at < m_s.size() && !IsSpace(static_cast<unsigned char>(m_s[m_at])) && m_s[m_at] != '/' &&
               m_s[m_at] != '>') {
            if (m_s[m_at] == '"' || m_s[m_at] == '\'')
                return false;
            ++m_at;
        }
        return true;
    }
    // One construct at a '<'; false where the parser gives up.
    bool Markup() {
        if (StartsWith("<?xml", true)) {
            // Only the three attributes of the declaration are read with their quotes.
            m_at += 5;
            while (m_at < m_s.size()) {
                if (m_s[m_at] == '>') {
                    ++m_at;
                    return true;
                }
                SkipSpaces();
                if (StartsWith("version", true) || StartsWith("encoding", true) || StartsWith("standalone", true)) {
                    if (!Attribute())
                        return false;
                } else {
                    while (m_at < m_s.size() && m_s[m_at] != '>' && !IsSpace(static_cast<unsigned char>(m_s[m_at])))
                        ++m_at;
                }
            }
            return false;
        }
        if (StartsWith("<!--"))
            return SkipPast("-->");
        if (StartsWith("<![CDATA["))
            return SkipPast("]]>");
        if (StartsWith("</")) {
            // Inside an element the parser leaves it here; outside any, it reads it as unknown markup.
            if (m_depth > 0)
                --m_depth;
            return SkipPast(">");
        }
        if (m_at + 1 < m_s.size() && IsNameStart(static_cast<unsigned char>(m_s[m_at + 1])))
            return Element();
        return SkipPast(">"); // a declaration, an instruction or anything else: up to the first '>'
    }
    bool Element() {
        ++m_depth;
        m_deepest = std::max(m_deepest, m_depth);
        ++m_at;
        SkipName();
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
        }
    }

    const std::string& m_s;
    size_t m_at = 0;
    int m_depth = 0;
    int m_deepest = 0;
};

} // namespace

int XmlNestingDepth(const std::string& s) { return NestingCounter(s).Deepest(); }

bool LoadXmlFile(TiXmlDocument& document, const std::string& path, XmlLoadFault* fault) {
    XmlLoadFault unused = XmlLoadFault::kNone;
    XmlLoadFault& why = fault ? *fault : unused;
    why = XmlLoadFault::kNone;
    // Only an ordinary file is read: a folder would make the parser ask for an absurd amount of memory, and a
    // pipe would block the start-up for good.
    const int fd = open(LocalFilePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = errno == ENOENT ? XmlLoadFault::kMissing : XmlLoadFault::kUnreadable;
        return false;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        why = XmlLoadFault::kUnreadable;
        return false;
    }
    if (info.st_size > kMaxXmlFileBytes) {
        close(fd);
        why = XmlLoadFault::kTooLarge;
        return false;
    }
    FILE* file = fdopen(fd, "rb");
    if (!file) {
        close(fd);
        why = XmlLoadFault::kUnreadable;
        return false;
    }
    // The size may have grown since it was asked: the read stops one byte past the limit all the same.
    std::string bytes;
    char chunk[65536];
    for (size_t n; static_cast<long long>(bytes.size()) <= kMaxXmlFileBytes &&
                   (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
        bytes.append(chunk, n);
    if (std::ferror(file))
        why = XmlLoadFault::kUnreadable;
    else if (static_cast<long long>(bytes.size()) > kMaxXmlFileBytes)
        why = XmlLoadFault::kTooLarge;
    else if (XmlNestingDepth(bytes) > kMaxXmlDepth)
        why = XmlLoadFault::kTooDeep;
    std::fclose(file);
    if (why == XmlLoadFault::kNone) {
        // The bytes already read are parsed, so the parser never sees more than was measured. Line ends are
        // made plain line feeds first, as the parser's own file loading does.
        if (bytes.find('\r') != std::string::npos) {
            std::string text;
            text.reserve(bytes.size());
            for (size_t i = 0; i < bytes.size(); ++i) {
                if (bytes[i] != '\r')
                    text += bytes[i];
                else if (i + 1 >= bytes.size() || bytes[i + 1] != '\n')
                    text += '\n';
            }
            bytes.swap(text);
        }
        document.Clear();
        document.Parse(bytes.c_str(), nullptr, TIXML_ENCODING_LEGACY);
        if (document.Error() || !document.RootElement())
            why = XmlLoadFault::kBroken;
    }
    if (why != XmlLoadFault::kNone)
        document.Clear();
    return why == XmlLoadFault::kNone;
}

std::string XmlLoadFaultText(XmlLoadFault fault) {
    switch (fault) {
    case XmlLoadFault::kNone: return "it was read";
    case XmlLoadFault::kMissing: return "it is missing";
    case XmlLoadFault::kUnreadable: return "it cannot be read";
    case XmlLoadFault::kTooLarge: return "it is too large";
    case XmlLoadFault::kTooDeep: return "its elements nest too deep";
    case XmlLoadFault::kBroken: return "it is not well-formed XML";
    }
    return "it cannot be read";
}
