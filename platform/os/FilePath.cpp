#include "FilePath.h"

#include "Gbk.h"

#include <algorithm>

std::string LocalFilePath(const std::string& path) {
    std::string local = path;
    std::replace(local.begin(), local.end(), '\\', '/');
    return local;
}

std::optional<std::string> LocalFilePathFromGbk(const std::string& gbkPath) {
    std::string slashed = gbkPath;
    for (size_t i = 0; i < slashed.size(); ++i) {
        const auto c = static_cast<unsigned char>(slashed[i]);
        if (c >= 0x81 && c <= 0xFE && i + 1 < slashed.size())
            ++i; // the trail byte may be 0x5C
        else if (c == '\\')
            slashed[i] = '/';
    }
    return GbkToUtf8(slashed);
}
