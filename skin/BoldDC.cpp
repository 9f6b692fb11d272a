#include "BoldDC.h"

#include "platform/gui/draw/DC.h"

CBoldDC::CBoldDC(HDC hDC, bool bBold) : m_hDC(hDC) {
    LOGFONTA logFont{};
    HGDIOBJ current = GetCurrentObject(m_hDC, OBJ_FONT);
    if (!current || !GetObjectA(current, sizeof(logFont), &logFont))
        return;
    // Any weight but exactly bold counts as normal.
    if (bBold == (logFont.lfWeight == FW_BOLD))
        return;
    logFont.lfWeight = bBold ? FW_BOLD : FW_NORMAL;
    if (CreateFontIndirect(&logFont))
        m_hDefFont = ::SelectObject(m_hDC, m_hObject);
}

CBoldDC::~CBoldDC() {
    if (m_hDefFont)
        ::SelectObject(m_hDC, m_hDefFont);
}
