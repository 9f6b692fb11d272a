#include "BenchOptions.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

bool TakeOption(int& argc, char** argv, const char* name, std::string& value) {
    const size_t length = std::strlen(name);
    for (int i = 1; i < argc; i++) {
        if (std::strncmp(argv[i], name, length) != 0)
            continue;
        value = argv[i] + length;
        for (int j = i; j + 1 < argc; j++)
            argv[j] = argv[j + 1];
        argc--;
        return true;
    }
    return false;
}

bool TakeCount(int& argc, char** argv, const char* name, int maximum, int& value) {
    std::string text;
    if (!TakeOption(argc, argv, name, text))
        return true;
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || n <= 0 || n > maximum)
        return false;
    value = static_cast<int>(n);
    return true;
}

double Minimum(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}
