#include "MemDC2.h"

#include <algorithm>
#include <vector>

namespace {

// Back buffers kept from one paint to the next, so that a window repainted at the same size draws into the
// buffer of its last paint instead of a newly allocated one. Small ones cost little to make and are not kept.
constexpr size_t kKeptBuffers = 2;
constexpr long kSmallestKept = 256 * 256;

std::vector<HBITMAP>& KeptBuffers() {
    static auto* kept = new std::vector<HBITMAP>; // never freed: paints may come after static objects end
    return *kept;
}

CSize SizeOf(CBitmap& bitmap) {
    BITMAP info{};
    return bitmap.GetBitmap(&info) ? CSize(info.bmWidth, info.bmHeight) : CSize(0, 0);
}

// The smallest kept buffer at least this size, attached to bitmap; FALSE when there is none. A paint of a part of
// the window (its focus frame's lines) draws into the whole window's buffer instead of another of its own.
BOOL TakeKeptBuffer(CBitmap& bitmap, int width, int height) {
    std::vector<HBITMAP>& kept = KeptBuffers();
    auto best = kept.end();
    long bestArea = 0;
    for (auto it = kept.begin(); it != kept.end(); ++it) {
        CBitmap candidate;
        if (!candidate.Attach(*it))
            continue;
        const CSize size = SizeOf(candidate);
        candidate.Detach();
        const long area = static_cast<long>(size.cx) * size.cy;
        if (size.cx >= width && size.cy >= height && (best == kept.end() || area < bestArea)) {
            best = it;
            bestArea = area;
        }
    }
    if (best == kept.end())
        return FALSE;
    const HBITMAP handle = *best;
    kept.erase(best);
    return bitmap.Attach(handle);
}

// Keeps a buffer for the next paint, in place of the one kept longest.
void KeepBuffer(CBitmap& bitmap) {
    const CSize size = SizeOf(bitmap);
    if (static_cast<long>(size.cx) * size.cy < kSmallestKept)
        return;
    std::vector<HBITMAP>& kept = KeptBuffers();
    if (kept.size() >= kKeptBuffers) {
        CBitmap oldest;
        oldest.Attach(kept.front());
        oldest.DeleteObject();
        kept.erase(kept.begin());
    }
    kept.push_back(reinterpret_cast<HBITMAP>(bitmap.Detach()));
}

} // namespace

CMemDC2::CMemDC2(CDC* pDC) : m_pDC(pDC), m_bMemDC(pDC && !pDC->IsPrinting() ? TRUE : FALSE) {
    if (!pDC)
        return;
    if (m_bMemDC) {
        pDC->GetClipBox(&m_rect);
        CreateCompatibleDC(pDC);
        if (!TakeKeptBuffer(m_bitmap, m_rect.Width(), m_rect.Height()))
            m_bitmap.CreateCompatibleBitmap(pDC, m_rect.Width(), m_rect.Height());
        m_oldBitmap = SelectObject(&m_bitmap);
        // A paint makes thousands of drawing calls on this bitmap: one painter serves them all.
        KeepPainterOpen(TRUE);
        SetWindowOrg(m_rect.left, m_rect.top);
        // A larger kept buffer is drawn on only where this paint's rectangle lies.
        if (SizeOf(m_bitmap) != m_rect.Size())
            IntersectClipRect(&m_rect);
        FillSolidRect(&m_rect, pDC->GetBkColor());
    } else {
        // Printing: share the target's handles and draw straight to it.
        m_bPrinting = pDC->m_bPrinting;
        m_hDC = pDC->m_hDC;
        m_hAttribDC = pDC->m_hAttribDC;
    }
}

CMemDC2::~CMemDC2() {
    if (!m_pDC)
        return;
    if (m_bMemDC) {
        KeepPainterOpen(FALSE);
        m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top, SRCCOPY);
        SelectObject(m_oldBitmap);
        KeepBuffer(m_bitmap);
    } else {
        // The handles belong to the target.
        m_hDC = m_hAttribDC = nullptr;
    }
}
