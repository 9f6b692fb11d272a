#include "ScrollInfo.h"

#include <algorithm>
#include <cstdint>

namespace {

// The range's length, wide enough for the extreme ranges the record can hold.
int64_t RangeLength(const SCROLLINFO& si) { return std::max<int64_t>(0, int64_t{si.nMax} - si.nMin + 1); }

} // namespace

int ScrollInfoMaxPos(const SCROLLINFO& si) {
    const int64_t last = int64_t{si.nMax} - std::max<int64_t>(int64_t{si.nPage} - 1, 0);
    return static_cast<int>(std::max<int64_t>(si.nMin, last));
}

void ClampScrollInfo(SCROLLINFO& si) {
    if (si.nMax < si.nMin)
        si.nMax = si.nMin;
    const int64_t length = RangeLength(si);
    if (si.nPage > length)
        si.nPage = static_cast<UINT>(length);
    si.nPos = std::clamp(si.nPos, si.nMin, ScrollInfoMaxPos(si));
}

bool ScrollInfoCanScroll(const SCROLLINFO& si) {
    if (si.nMax <= si.nMin)
        return false;
    return si.nPage == 0 || int64_t{si.nPage} < RangeLength(si);
}
