#include "MenuXPState.h"

#include "WndMenuXP.h"

#include <algorithm>

static_assert(sizeof(UINT_PTR) >= 8, "item data holds three 16-bit values");

namespace {

constexpr UINT kField = 0xFFFF;
constexpr int kTextShift = 16;
constexpr int kAccelShift = 32;

UINT Field(UINT value) { return std::min(value, kField); }

} // namespace

MenuXPState& TheMenuXPState() {
    static MenuXPState state;
    return state;
}

MenuXPItemData MenuXPItemData::Unpack(UINT_PTR data) {
    MenuXPItemData item;
    item.height = static_cast<UINT>(data & kField);
    item.textWidth = static_cast<UINT>((data >> kTextShift) & kField);
    item.accelWidth = static_cast<UINT>((data >> kAccelShift) & kField);
    return item;
}

UINT_PTR MenuXPItemData::Pack() const {
    return static_cast<UINT_PTR>(Field(height)) | static_cast<UINT_PTR>(Field(textWidth)) << kTextShift |
           static_cast<UINT_PTR>(Field(accelWidth)) << kAccelShift;
}
