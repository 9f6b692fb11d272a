#pragma once

#include "GdiObject.h"

class CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)
public:
    static CRgn* FromHandle(HRGN region);
    operator HRGN() const { return reinterpret_cast<HRGN>(m_hObject); } // NOLINT

    BOOL CreateRectRgn(int left, int top, int right, int bottom);
    BOOL CreateRectRgnIndirect(LPCRECT rect);
    void SetRectRgn(int left, int top, int right, int bottom);
    void SetRectRgn(LPCRECT rect);
    // Region kind of the result (NULLREGION, SIMPLEREGION, COMPLEXREGION) or ERROR.
    int CombineRgn(CRgn* a, CRgn* b, int mode);
    int CopyRgn(CRgn* source);
    int GetRgnBox(LPRECT rect) const;
    BOOL PtInRegion(int x, int y) const;
    BOOL PtInRegion(POINT point) const { return PtInRegion(point.x, point.y); }
    BOOL RectInRegion(LPCRECT rect) const;
    int OffsetRgn(int x, int y);
    BOOL EqualRgn(CRgn* other) const;
};
