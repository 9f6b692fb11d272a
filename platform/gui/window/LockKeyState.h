#pragma once

#include "platform/os/Types.h"

// Whether Caps Lock, Num Lock and Scroll Lock are on, as the X server's keyboard extension keeps their indicators.
// The state is read once and then again each time the server tells that an indicator changed, so asking costs
// nothing. Without an X server (offscreen) no lock is on.
class CLockKeyState {
public:
    // VK_CAPITAL, VK_NUMLOCK or VK_SCROLL; false for any other key.
    static bool IsOn(UINT nVirtKey);
};
