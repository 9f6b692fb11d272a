#pragma once

#include <cstdint>
#include <string>

// The three files the program reads at start-up, as one case of configuration handed to it.
struct ConfigurationFiles {
    std::string command;
    std::string system;
    std::string matrix;
    // One file may be made larger than its text, as a sparse file (zeros past the text): a file of gigabytes
    // that costs nothing to make.
    std::string sparseFile;
    long long sparseSize = 0;
};

// The sample configuration in res/.
ConfigurationFiles SampleConfiguration();

// Writes the files into the folder (command.xml, system.xml, matrix.xml), replacing what is there.
void WriteConfiguration(const std::string& folder, const ConfigurationFiles& files);
// Reads them back; a file that is not there reads as empty.
ConfigurationFiles ReadConfiguration(const std::string& folder);

// Case `index` of the generator started with `seed`: the sample files with hostile changes of the kinds an
// operator's machine may hand over (flipped bytes, cut files, deep and wide trees, huge, negative and
// non-numeric numbers, GBK garbage, long texts, elements and attributes renamed, moved or dropped). The same
// seed and index always give the same files.
ConfigurationFiles MakeHostileCase(uint64_t seed, uint64_t index, const ConfigurationFiles& samples);
