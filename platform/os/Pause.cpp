#include "Pause.h"

#include <chrono>
#include <thread>

namespace {

PauseHandler& CurrentHandler() {
    static PauseHandler handler;
    return handler;
}

} // namespace

void Sleep(DWORD milliseconds) {
    if (CurrentHandler()) {
        CurrentHandler()(milliseconds);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

PauseHandler SetPauseHandler(PauseHandler handler) {
    PauseHandler previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}
