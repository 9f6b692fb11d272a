#pragma once

#include <string>

// Starts the core on the configuration files in the folder as the program does (command.xml, system.xml, then
// matrix.xml), then works it as an operator would: opens the ports on pseudo-terminals, sends wall and monitor
// commands, switches every matrix, records, loads, saves and renames scenes, and writes every setting back.
// Checks on the way what must hold whatever the files said: start values within their ranges, result codes
// among the documented ones, bounded pauses and messages, files that were whole stay whole and files that were
// broken stay untouched, and no temporary file is left behind.
//
// Changes the current folder and the process's singletons: run it in a process of its own. 0 when everything
// held; else what broke is written to standard error and the result is 1.
int RunStartUpDrill(const std::string& folder);
