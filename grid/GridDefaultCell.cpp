#include "GridDefaultCell.h"

#include "platform/gui/draw/DC.h"
#include "platform/gui/window/SystemParameters.h"

IMPLEMENT_DYNCREATE(CGridDefaultCell, CGridCell)

CGridDefaultCell::CGridDefaultCell() {
    SetFormat(DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
    SetTextClr(CLR_DEFAULT);
    SetBackClr(CLR_DEFAULT);
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        CGridDefaultCell::SetFont(&metrics.lfMessageFont);
}

CGridDefaultCell::~CGridDefaultCell() = default;

void CGridDefaultCell::SetFont(const LOGFONT* plf) {
    if (!plf)
        return;
    m_fontObject.DeleteObject();
    m_fontObject.CreateFontIndirect(plf);
    CGridCell::SetFont(plf);

    CDC screen;
    if (!screen.Attach(GetScreenDC())) {
        SetMargin(3);
        m_width = 40;
        m_height = 16;
        return;
    }
    CFont* oldFont = screen.SelectObject(&m_fontObject);
    SetMargin(static_cast<UINT>(screen.GetTextExtent(" ", 1).cx));
    const CSize size = screen.GetTextExtent(" XXXXXXXXXXXX ", 14);
    m_width = size.cx;
    m_height = size.cy * 3 / 2;
    if (oldFont)
        screen.SelectObject(oldFont);
}

LOGFONT* CGridDefaultCell::GetFont() const {
    const Rare* rare = RareFieldsIfAny();
    return rare ? rare->font.get() : nullptr;
}

CFont* CGridDefaultCell::GetFontObject() const { return m_fontObject.GetSafeHandle() ? &m_fontObject : nullptr; }
