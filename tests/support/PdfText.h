#pragma once

#include <cstdio>
#include <string>

// The number of pages of a PDF file's bytes, counted by their page objects.
inline int PdfPages(const std::string& bytes) {
    int pages = 0;
    for (size_t at = bytes.find("/Type /Page"); at != std::string::npos; at = bytes.find("/Type /Page", at + 1))
        if (bytes.compare(at, 12, "/Type /Pages") != 0)
            ++pages;
    return pages;
}

// The text of one page (from 1) of a PDF file, as poppler's pdftotext reads it; empty when it cannot.
inline std::string PdfPageText(const std::string& path, int page) {
    const std::string command =
        "pdftotext -q -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" + path + "' -";
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}
