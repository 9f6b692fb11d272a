#include "XmlLoad.h"

#include "platform/os/FilePath.h"

#include <fstream>
#include <sstream>
#include <tinyxml.h>

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
    const std::string local = LocalFilePath(path);
    std::ifstream in(local, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (XmlNestingDepth(bytes.str()) > kMaxXmlDepth)
        return false;
    if (!document.LoadFile(local.c_str(), TIXML_ENCODING_LEGACY) || document.Error()) {
        document.Clear();
        return false;
    }
    return true;
}
