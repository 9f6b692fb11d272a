#pragma once

#include "platform/os/String.h"

// The commands that pick the units' source: they replace the PIP picture, and the wall view labels its cells with
// their names.
extern const char* const kSourceCommands[7];

// True when the command selects a source, which replaces whatever the PIP window showed.
bool IsSourceCommand(const CString& name);
