#include "Rgn.h"

#include "GdiHandle.h"

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

namespace {

int Kind(const QRegion& region) {
    if (region.isEmpty())
        return NULLREGION;
    return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

QRect ToQRect(int left, int top, int right, int bottom) {
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    return QRect(left, top, right - left, bottom - top);
}

HRGN__* Of(const CRgn* rgn) { return rgn ? GdiHandle::Checked<HRGN__>(rgn->m_hObject, OBJ_REGION) : nullptr; }

} // namespace

CRgn* CRgn::FromHandle(HRGN region) {
    return static_cast<CRgn*>(CGdiObject::FromHandle(GdiHandle::Checked<HRGN__>(region, OBJ_REGION)));
}

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom) {
    return Attach(NewRegion(QRegion(ToQRect(left, top, right, bottom))));
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT rect) {
    return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : FALSE;
}

void CRgn::SetRectRgn(int left, int top, int right, int bottom) {
    if (HRGN__* r = Of(this))
        r->region = QRegion(ToQRect(left, top, right, bottom));
}

void CRgn::SetRectRgn(LPCRECT rect) {
    if (rect)
        SetRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

int CRgn::CombineRgn(CRgn* a, CRgn* b, int mode) {
    HRGN__* dest = Of(this);
    HRGN__* ra = Of(a);
    HRGN__* rb = Of(b);
    if (!dest || !ra || (mode != RGN_COPY && !rb))
        return ERROR;
    switch (mode) {
    case RGN_AND: dest->region = ra->region.intersected(rb->region); break;
    case RGN_OR: dest->region = ra->region.united(rb->region); break;
    case RGN_XOR: dest->region = ra->region.xored(rb->region); break;
    case RGN_DIFF: dest->region = ra->region.subtracted(rb->region); break;
    case RGN_COPY: dest->region = ra->region; break;
    default: return ERROR;
    }
    return Kind(dest->region);
}

int CRgn::CopyRgn(CRgn* source) { return CombineRgn(source, nullptr, RGN_COPY); }

int CRgn::GetRgnBox(LPRECT rect) const {
    HRGN__* r = Of(this);
    if (!r || !rect)
        return ERROR;
    const QRect box = r->region.boundingRect();
    *rect = box.isEmpty() ? RECT{0, 0, 0, 0} : RECT{box.left(), box.top(), box.right() + 1, box.bottom() + 1};
    return Kind(r->region);
}

BOOL CRgn::PtInRegion(int x, int y) const {
    HRGN__* r = Of(this);
    return (r && r->region.contains(QPoint(x, y))) ? TRUE : FALSE;
}

BOOL CRgn::RectInRegion(LPCRECT rect) const {
    HRGN__* r = Of(this);
    return (r && rect && r->region.intersects(ToQRect(rect->left, rect->top, rect->right, rect->bottom))) ? TRUE
                                                                                                          : FALSE;
}

int CRgn::OffsetRgn(int x, int y) {
    HRGN__* r = Of(this);
    if (!r)
        return ERROR;
    r->region.translate(x, y);
    return Kind(r->region);
}

BOOL CRgn::EqualRgn(CRgn* other) const {
    HRGN__* a = Of(this);
    HRGN__* b = Of(other);
    return (a && b && a->region == b->region) ? TRUE : FALSE;
}
