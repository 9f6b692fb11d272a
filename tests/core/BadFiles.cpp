#include "BadFiles.h"

#include "core/XmlLoad.h"
#include "platform/os/Gbk.h"

#include <cerrno>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// At most as much as the program reads of a file: a generated case may stretch one to gigabytes.
std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<size_t>(kMaxXmlFileBytes), '\0');
    in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Repeat(const std::string& piece, long long times) {
    std::string s;
    s.reserve(piece.size() * static_cast<size_t>(times));
    for (long long i = 0; i < times; ++i)
        s += piece;
    return s;
}

void Check(bool done, const std::string& what) {
    if (!done)
        throw std::runtime_error("cannot make the bad file: " + what);
}

std::function<std::string(const std::string&)> Says(const char* text) {
    return [text](const std::string&) { return text; };
}

// How the operator is told each file's own limits: its size, elements, attributes and text.
struct ToldLimits {
    const char* size;
    const char* elements;
    const char* attributes;
    const char* text;
};

ToldLimits ToldLimitsOf(const std::string& file) {
    if (file == "command.xml")
        return {"1 MiB", "4,000", "12,000", "256 KiB"};
    if (file == "system.xml")
        return {"16 MiB", "80,000", "360,000", "8 MiB"};
    return {"16 MiB", "160,000", "300,000", "6 MiB"};
}

// "holds more than" the file's own limit of what is counted.
std::function<std::string(const std::string&)> HoldsMoreThan(const char* ToldLimits::*limit, const char* counted) {
    return [limit, counted](const std::string& file) {
        return std::string("holds more than ") + ToldLimitsOf(file).*limit + counted + ", over the limit";
    };
}

} // namespace

const std::vector<BadFile>& BadFileKinds() {
    static const std::vector<BadFile> kinds = {
        {"Missing", Says("is missing")},
        {"Empty", Says("is empty")},
        {"Cut", Says("is not valid XML at line ")},
        {"Garbage", Says("is not valid XML at line ")},
        {"Utf8", Says("is not in the GBK encoding and should be saved as GBK")},
        {"Huge",
         [](const std::string& file) {
             return std::string("is larger than ") + ToldLimitsOf(file).size + ", the limit for the file";
         }},
        {"DeeplyNested", Says("nests elements more than 256 deep, over the limit")},
        {"TooManyElements", HoldsMoreThan(&ToldLimits::elements, " elements")},
        {"TooManyAttributes", HoldsMoreThan(&ToldLimits::attributes, " attributes")},
        {"TooWideAnElement", Says("has an element with more than 256 attributes, over the limit")},
        {"TooMuchText", HoldsMoreThan(&ToldLimits::text, " of text")},
        {"Folder", Says("is not an ordinary file")},
        {"Pipe", Says("is not an ordinary file")},
        {"DanglingLink", Says("is missing")},
        {"Unreadable", Says("cannot be read (")},
    };
    return kinds;
}

void MakeBadFile(const std::string& folder, const std::string& name, const std::string& kind) {
    const std::string path = folder + "/" + name;
    const XmlLimits limits = XmlLimitsOf(name);
    const std::string sample = kind == "Cut" || kind == "Huge" || kind == "Unreadable" || kind == "Utf8" ? Read(path) : "";
    Check(unlink(path.c_str()) == 0, "remove " + path);
    if (kind == "Missing") {
        // Gone, and nothing in its place.
    } else if (kind == "Empty") {
        Write(path, "");
    } else if (kind == "Cut") {
        Write(path, sample.substr(0, sample.size() / 2));
    } else if (kind == "Garbage") {
        // The head of a picture: not text at all.
        Write(path, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x04\0", 20));
    } else if (kind == "Utf8") {
        // As an editor saves it in UTF-8, with its mark in front, and a comment in Chinese. A generated file that is
        // no GBK text has no UTF-8 form: its bytes go behind the mark as they are.
        const std::optional<std::string> utf8 = GbkToUtf8(sample);
        Write(path, "\xEF\xBB\xBF" + utf8.value_or(sample) + "<!-- \xE8\xA7\x86\xE9\xA2\x91\xE5\xA2\x99 -->\n");
    } else if (kind == "Huge") {
        // Sparse: the size is there without the disk space.
        Write(path, sample);
        Check(truncate(path.c_str(), limits.fileBytes + 1) == 0, "stretch " + path);
    } else if (kind == "DeeplyNested") {
        Write(path, Repeat("<a>", 100000) + Repeat("</a>", 100000));
    } else if (kind == "TooManyElements") {
        Write(path, "<R>" + Repeat("<a/>", limits.elements) + "</R>");
    } else if (kind == "TooManyAttributes") {
        Write(path, "<R>" + Repeat("<a b='' c='' d='' e='' f='' g='' h='' i=''/>", limits.attributes / 8 + 1) + "</R>");
    } else if (kind == "TooWideAnElement") {
        std::string element = "<R";
        for (int i = 0; i <= kMaxXmlAttributesPerElement; ++i)
            element += " a" + std::to_string(i) + "=\"1\"";
        Write(path, element + "/>");
    } else if (kind == "TooMuchText") {
        Write(path, "<R>" + std::string(static_cast<size_t>(limits.textBytes), 't') + "</R>");
    } else if (kind == "Folder") {
        Check(mkdir(path.c_str(), 0755) == 0, "make the folder " + path);
    } else if (kind == "Pipe") {
        Check(mkfifo(path.c_str(), 0644) == 0, "make the pipe " + path);
    } else if (kind == "DanglingLink") {
        Check(symlink((path + ".gone").c_str(), path.c_str()) == 0, "link " + path);
    } else if (kind == "Unreadable") {
        // Root reads a file whatever its mode; this one fails to read for anyone.
        if (geteuid() == 0) {
            Check(symlink("/proc/self/mem", path.c_str()) == 0, "link " + path);
        } else {
            Write(path, sample);
            Check(chmod(path.c_str(), 0) == 0, "lock " + path);
        }
    } else {
        Check(false, "no kind " + kind);
    }
}

std::string FileState(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0)
        return "nothing";
    const std::string mode = " mode " + std::to_string(info.st_mode) + " ";
    if (S_ISLNK(info.st_mode)) {
        char target[4096] = {};
        const ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
        return "link" + mode + std::string(target, n > 0 ? static_cast<size_t>(n) : 0);
    }
    if (!S_ISREG(info.st_mode))
        return "special" + mode;
    // A sparse giant is told by its size; a locked file by what the process may see.
    std::string state = "file" + mode + std::to_string(info.st_size) + " ";
    if (info.st_size <= kMaxXmlFileBytes && access(path.c_str(), R_OK) == 0)
        state += Read(path);
    return state;
}
