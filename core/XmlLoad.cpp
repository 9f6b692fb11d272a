#include "XmlLoad.h"

#include "platform/os/FilePath.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <tinyxml.h>
#include <unistd.h>

namespace {

// Skips to just past the terminator, or to the end.
size_t SkipPast(const std::string& s, size_t from, const char* terminator) {
    size_t at = s.find(terminator, from);
    return at == std::string::npos ? s.size() : at + std::char_traits<char>::length(terminator);
}

} // namespace

int XmlNestingDepth(const std::string& s) {
    int depth = 0;
    int deepest = 0;
    size_t i = 0;
    while (i < s.size()) {
        if (s[i] != '<') {
            ++i;
            continue;
        }
        if (s.compare(i, 4, "<!--") == 0) {
            i = SkipPast(s, i + 4, "-->");
        } else if (s.compare(i, 9, "<![CDATA[") == 0) {
            i = SkipPast(s, i + 9, "]]>");
        } else if (i + 1 < s.size() && (s[i + 1] == '?' || s[i + 1] == '!')) {
            i = SkipPast(s, i + 2, ">");
        } else if (i + 1 < s.size() && s[i + 1] == '/') {
            if (depth > 0)
                --depth;
            i = SkipPast(s, i + 2, ">");
        } else {
            // An opening tag: find its end outside quoted values.
            char quote = 0;
            size_t j = i + 1;
            for (; j < s.size(); ++j) {
                char c = s[j];
                if (quote) {
                    if (c == quote)
                        quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '>') {
                    break;
                }
            }
            bool selfClosing = j < s.size() && j > i + 1 && s[j - 1] == '/';
            if (depth + 1 > deepest)
                deepest = depth + 1;
            if (!selfClosing)
                ++depth;
            i = j + 1;
        }
    }
    return deepest;
}

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
        std::string text;
        text.reserve(bytes.size());
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] != '\r')
                text += bytes[i];
            else if (i + 1 >= bytes.size() || bytes[i + 1] != '\n')
                text += '\n';
        }
        bytes.clear();
        document.Clear();
        document.Parse(text.c_str(), nullptr, TIXML_ENCODING_LEGACY);
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
