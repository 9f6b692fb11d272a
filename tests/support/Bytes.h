#pragma once

#include <initializer_list>
#include <vector>

// Expected bytes on the line, written as a list of numbers.
inline std::vector<unsigned char> Bytes(std::initializer_list<int> values) {
    std::vector<unsigned char> bytes;
    for (int v : values)
        bytes.push_back(static_cast<unsigned char>(v));
    return bytes;
}
