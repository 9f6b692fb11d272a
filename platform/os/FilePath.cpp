#include "FilePath.h"

std::string LocalFilePath(const std::string& path) {
    std::string local = path;
    for (size_t i = 0; i < local.size(); ++i) {
        const auto c = static_cast<unsigned char>(local[i]);
        if (c >= 0x81 && c <= 0xFE && i + 1 < local.size())
            ++i; // the trail byte may be 0x5C
        else if (c == '\\')
            local[i] = '/';
    }
    return local;
}
