#include "Pen.h"

#include "GdiHandle.h"

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CPen, CGdiObject)

CPen::CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }

CPen* CPen::FromHandle(HPEN pen) {
    return static_cast<CPen*>(CGdiObject::FromHandle(GdiHandle::Checked<HPEN__>(pen, OBJ_PEN)));
}

BOOL CPen::CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }

BOOL CPen::CreatePenIndirect(const LOGPEN* logPen) {
    if (!logPen)
        return FALSE;
    return CreatePen(static_cast<int>(logPen->lopnStyle), logPen->lopnWidth.x, logPen->lopnColor);
}

int CPen::GetLogPen(LOGPEN* logPen) const { return GetObject(sizeof(LOGPEN), logPen); }
