#pragma once

#include "WallCtrl.h"

#include <functional>

// A button and the wall command it sends.
struct CommandButton {
    int id;
    const char* command;
};

// A setting's pair of picture buttons: one steps it down, the other up.
struct StepPair {
    int down;
    const char* downCommand;
    int up;
    const char* upCommand;
};

// A command button's click: the command goes to the selected units (the whole wall when none is selected), value 0.
inline std::function<void()> SendOnClick(CWallCtrl* ctrl, const char* command) {
    return [ctrl, command]() { ctrl->Execute(command, 0, TRUE); };
}
