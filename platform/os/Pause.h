#pragma once

#include "Types.h"

#include <functional>

// Sleep blocks the calling thread; tests replace it to observe pauses without waiting.
using PauseHandler = std::function<void(DWORD milliseconds)>;

void Sleep(DWORD milliseconds);

// Installs a handler (an empty one restores the real pause) and returns the previous one.
PauseHandler SetPauseHandler(PauseHandler handler);
