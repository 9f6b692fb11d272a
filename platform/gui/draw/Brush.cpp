#include "Brush.h"

#include "Bitmap.h"
#include "GdiHandle.h"
#include "SysColor.h"

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CBrush, CGdiObject)

CBrush::CBrush(COLORREF color) { CreateSolidBrush(color); }
CBrush::CBrush(int hatchIndex, COLORREF color) { CreateHatchBrush(hatchIndex, color); }
CBrush::CBrush(CBitmap* pattern) { CreatePatternBrush(pattern); }

CBrush* CBrush::FromHandle(HBRUSH brush) {
    return static_cast<CBrush*>(CGdiObject::FromHandle(GdiHandle::Checked<HBRUSH__>(brush, OBJ_BRUSH)));
}

BOOL CBrush::CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }

BOOL CBrush::CreateHatchBrush(int index, COLORREF color) {
    if (index < HS_HORIZONTAL || index > HS_DIAGCROSS)
        return FALSE;
    return Attach(NewBrush(LOGBRUSH{BS_HATCHED, color & 0x00FFFFFF, static_cast<uintptr_t>(index)}));
}

BOOL CBrush::CreatePatternBrush(CBitmap* pattern) {
    auto* bitmap = pattern ? GdiHandle::Checked<HBITMAP__>(pattern->m_hObject, OBJ_BITMAP) : nullptr;
    if (!bitmap)
        return FALSE;
    HBRUSH__* brush = NewBrush(LOGBRUSH{BS_PATTERN, 0, 0});
    // The brush keeps its own copy: the bitmap may be deleted while the brush lives.
    SyncImageFromDib(bitmap);
    brush->pattern = bitmap->image.copy();
    brush->patternMono = bitmap->mono;
    return Attach(brush);
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* logBrush) {
    if (!logBrush)
        return FALSE;
    switch (logBrush->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(logBrush->lbColor);
    case BS_NULL: return Attach(NewBrush(LOGBRUSH{BS_NULL, 0, 0}));
    case BS_HATCHED: return CreateHatchBrush(static_cast<int>(logBrush->lbHatch), logBrush->lbColor);
    default: return FALSE;
    }
}

BOOL CBrush::CreateSysColorBrush(int index) {
    if (!GetSysColorBrush(index))
        return FALSE;
    HBRUSH__* brush = NewBrush(LOGBRUSH{BS_SOLID, GetSysColor(index), 0});
    brush->sysColorIndex = index;
    return Attach(brush);
}

int CBrush::GetLogBrush(LOGBRUSH* logBrush) const { return GetObject(sizeof(LOGBRUSH), logBrush); }
