#pragma once

#include "platform/os/Rect.h"
#include "platform/os/String.h"
#include "platform/os/Types.h"

// The state of one print job as the printing steps of a view pass it around: the page range, the page being
// printed and the rectangle to draw it in.
class CPrintInfo {
public:
    CPrintInfo() = default;

    void SetMinPage(UINT page) { m_nMinPage = page; }
    void SetMaxPage(UINT page) { m_nMaxPage = page; }
    UINT GetMinPage() const { return m_nMinPage; }
    UINT GetMaxPage() const { return m_nMaxPage; }
    // The pages asked for; all of them unless a range was set.
    UINT GetFromPage() const { return m_nFromPage ? m_nFromPage : m_nMinPage; }
    UINT GetToPage() const { return m_nToPage ? m_nToPage : m_nMaxPage; }
    void SetPageRange(UINT from, UINT to) {
        m_nFromPage = from;
        m_nToPage = to;
    }

    BOOL m_bDirect = TRUE; // no print dialog
    BOOL m_bPreview = FALSE;
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1;
    CString m_strPageDesc;
    void* m_lpUserData = nullptr;
    CRect m_rectDraw;

private:
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = 0xFFFF;
    UINT m_nFromPage = 0;
    UINT m_nToPage = 0;
};
