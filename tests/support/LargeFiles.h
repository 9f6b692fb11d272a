#pragma once

#include <string>

// The three configuration files at their largest, made on the spot (never kept in the repository).
struct LargeFiles {
    std::string command;
    std::string system;
    std::string matrix;
};

// What the largest installation the program is made for holds: a 16 x 16 wall with its output map, 20 scenes of
// 1,792 switches each, and 64 matrices of 1,024 named channels with their messages, names in GBK.
LargeFiles LargestInstallation();

// The files that cost the program the most of what the file limits let through: each exactly as many elements,
// attributes and bytes of text as the limits take, in the shapes the program keeps the most of: a command for
// every element; a 16 x 16 wall, 20 scenes and every other element a switch of the first scene, which replays none
// of them (they name no matrix); kMaxMatrices matrices, the first with kMaxMatrixMessages messages and every matrix
// with 9,999 channels, named as far as the elements go. The long texts are names.
LargeFiles WorstAcceptedFiles();
