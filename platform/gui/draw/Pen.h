#pragma once

#include "GdiObject.h"

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color);

    static CPen* FromHandle(HPEN pen);
    operator HPEN() const { return reinterpret_cast<HPEN>(m_hObject); } // NOLINT

    BOOL CreatePen(int style, int width, COLORREF color);
    BOOL CreatePenIndirect(const LOGPEN* logPen);
    int GetLogPen(LOGPEN* logPen) const;
};
