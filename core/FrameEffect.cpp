#include "FrameEffect.h"

#include "ErrorMessage.h"
#include "SystemConfig.h"
#include "WallDefaults.h"
#include "WallModelBase.h"
#include "platform/os/Pause.h"

namespace {

const char kHorizontalCommand[] = "O-HORIZONTAL-ADJUST";
const char kVerticalCommand[] = "O-VERTICAL-ADJUST";
const char kEnableEvent[] = "O-ENABLE_FRM_EFFECT";
// The units need time to take the first value before the second arrives.
constexpr DWORD kBetweenValuesMs = 500;

} // namespace

CFrameEffect::CFrameEffect(CWallModelBase* owner)
    : m_owner(owner), m_enabled(kDefaultFrameEffectEnabled), m_horizontal(kDefaultFrameEffectValue),
      m_vertical(kDefaultFrameEffectValue) {
    m_owner->GetSettings()->LoadFrameEffect(m_enabled, m_horizontal, m_vertical);
}

int CFrameEffect::GetState(BOOL& enabled, BYTE& horizontal, BYTE& vertical) const {
    enabled = m_enabled;
    horizontal = m_horizontal;
    vertical = m_vertical;
    return 1;
}

int CFrameEffect::Step(const char* command, BYTE& value, bool increase, const RECT* area) {
    if (increase && value == 255)
        return kResultUpperLimit;
    if (!increase && value == 0)
        return kResultLowerLimit;
    const BYTE next = static_cast<BYTE>(increase ? value + 1 : value - 1);

    const int result = m_owner->SendShortCommand(command, area, next);
    if (result != kResultOk)
        return result;

    const bool horizontal = &value == &m_horizontal;
    m_owner->GetSettings()->SaveFrameEffect(m_enabled, horizontal ? next : m_horizontal,
                                            horizontal ? m_vertical : next);
    value = next;
    m_owner->RaiseEvent(command);
    return kResultOk;
}

int CFrameEffect::IncreaseHorizontal(const RECT* area) { return Step(kHorizontalCommand, m_horizontal, true, area); }
int CFrameEffect::DecreaseHorizontal(const RECT* area) { return Step(kHorizontalCommand, m_horizontal, false, area); }
int CFrameEffect::IncreaseVertical(const RECT* area) { return Step(kVerticalCommand, m_vertical, true, area); }
int CFrameEffect::DecreaseVertical(const RECT* area) { return Step(kVerticalCommand, m_vertical, false, area); }

int CFrameEffect::SetEnabled(BOOL enable) {
    const BYTE horizontal = enable ? m_horizontal : 0;
    const BYTE vertical = enable ? m_vertical : 0;
    const RECT everywhere{0, 0, 0, 0};

    int result = m_owner->SendShortCommand(kHorizontalCommand, &everywhere, horizontal);
    if (result != kResultOk)
        return result;
    Sleep(kBetweenValuesMs);
    result = m_owner->SendShortCommand(kVerticalCommand, &everywhere, vertical);
    if (result != kResultOk)
        return result;

    const BOOL enabled = enable ? TRUE : FALSE;
    m_owner->GetSettings()->SaveFrameEffect(enabled, m_horizontal, m_vertical);
    m_enabled = enabled;
    m_owner->RaiseEvent(kEnableEvent);
    return kResultOk;
}
