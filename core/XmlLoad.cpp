#include "XmlLoad.h"

#include "platform/os/FilePath.h"

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

bool LoadXmlFile(TiXmlDocument& document, const std::string& path) {
    // Only an ordinary file is read: a folder would make the parser ask for an absurd amount of memory, and a
    // pipe would block the start-up for good.
    const int fd = open(LocalFilePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return false;
    }
    FILE* file = fdopen(fd, "rb");
    if (!file) {
        close(fd);
        return false;
    }
    std::string bytes;
    char chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
        bytes.append(chunk, n);
    bool ok = !std::ferror(file) && XmlNestingDepth(bytes) <= kMaxXmlDepth;
    if (ok) {
        std::rewind(file);
        ok = document.LoadFile(file, TIXML_ENCODING_LEGACY) && !document.Error();
    }
    std::fclose(file);
    if (!ok)
        document.Clear();
    return ok;
}
