#pragma once

#include <functional>
#include <string>
#include <vector>

// The ways a configuration file comes to be unusable on an operator's machine, with what the operator is told.
struct BadFile {
    const char* kind; // a word for test names: "Missing", "Cut", "Pipe" ...
    // What the message says after the name of the file (its start, where a line number follows); the limits named
    // are the file's own.
    std::function<std::string(const std::string& file)> told;
};

// Every kind: missing, empty, cut, garbage, UTF-8 (with its byte-order mark), huge, deeply nested, over each limit on
// what a file holds, a folder, a pipe, a link to nothing, unreadable.
const std::vector<BadFile>& BadFileKinds();

// Replaces the file `name` in the folder (which holds the sample configuration) by one broken that way.
void MakeBadFile(const std::string& folder, const std::string& name, const std::string& kind);

// What stands at the path, to tell that nothing touched it: its type, mode and content (the bytes of a file, the
// target of a link).
std::string FileState(const std::string& path);
