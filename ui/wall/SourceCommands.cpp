#include "SourceCommands.h"

const char* const kSourceCommands[7] = {"DP", "HDMI2", "VGA", "HDMI", "DVI", "YPBPR", "UNITSHOW"};

bool IsSourceCommand(const CString& name) {
    for (const char* source : kSourceCommands)
        if (name.Str() == source)
            return true;
    return false;
}
