#pragma once

#include <string>

// A file the program reads whole, opened for reading only when it is an ordinary file, and never waiting on the way:
// a pipe in its place would block the opening (or the reading) for good, and a device or a folder is nothing to read.
struct RegularFile {
    enum class Fault { kNone, kMissing, kUnreadable, kNotAFile };
    int fd = -1; // open, and the caller's to close, when there is no fault
    Fault fault = Fault::kNone;
    int error = 0; // errno where the system gave one
    long long size = 0;
};

// The name is in the file system's encoding, as the program builds it (backslashes allowed, see FilePath.h).
RegularFile OpenRegularFile(const std::string& path);
