#pragma once

#include "platform/os/Types.h"

class CWallModelBase;

// The frame effect: a switch and a horizontal and a vertical value of 0 to 255. The values are kept while the
// effect is off; switching off sends zeros without forgetting them.
class CFrameEffect {
public:
    explicit CFrameEffect(CWallModelBase* owner);

    int GetState(BOOL& enabled, BYTE& horizontal, BYTE& vertical) const;
    // 48 at 255 or 49 at 0 with nothing sent; else 0, or 16 when the command could not be sent.
    int IncreaseHorizontal(const RECT* area);
    int DecreaseHorizontal(const RECT* area);
    int IncreaseVertical(const RECT* area);
    int DecreaseVertical(const RECT* area);
    // Sends both values (or zeros), 500 ms apart; 0, or the first failing send's result.
    int SetEnabled(BOOL enable);

private:
    int Step(const char* command, BYTE& value, bool increase, const RECT* area);

    CWallModelBase* m_owner;
    BOOL m_enabled;
    BYTE m_horizontal;
    BYTE m_vertical;
};
