#pragma once

#include "XmlLoad.h"

#include <string>
#include <vector>

// One configuration file as the start-up found it.
struct ConfigFileState {
    std::string name; // as the operator finds it in the folder: "command.xml"
    XmlLoadStatus status;
};

// The three files the program reads at start-up (command.xml, system.xml, matrix.xml), in that order, with how
// each load ended. Builds the wall model and its matrix manager when they are not built yet.
std::vector<ConfigFileState> StartUpFileStates();

// The one message about the files that could not be used, which lie in the folder named (GBK): what is wrong
// with each and what follows from it. Empty when every file was read.
std::string StartUpFaultMessage(const std::string& folder, const std::vector<ConfigFileState>& files);

// Tells the operator once, in a warning box and on standard error, which configuration files could not be
// used; nothing when all were. The program calls it once its main window is shown.
void ReportStartUpFaults();
