// Drawing and scrolling.

#include "GridCtrl.h"

#include "platform/gui/DC.h"
#include "platform/gui/Pen.h"
#include "platform/gui/Registry.h"
#include "platform/gui/SystemParameters.h"
#include "platform/os/Version.h"

#include <cstdlib>

BOOL CGridCtrl::RedrawCell(int nRow, int nCol, CDC* pDC) {
    if (!m_allowDraw || !IsCellVisible(nRow, nCol))
        return FALSE;
    CRect rect;
    if (!GetCellRect(nRow, nCol, &rect))
        return FALSE;

    CDC* ownDC = nullptr;
    if (!pDC) {
        pDC = ownDC = GetDC();
        if (!pDC) {
            rect.right++;
            rect.bottom++;
            InvalidateRect(&rect, TRUE);
            return TRUE;
        }
    }

    BOOL result = TRUE;
    CGridCellBase* cell = GetCell(nRow, nCol);
    if (cell)
        result = cell->Draw(pDC, nRow, nCol, rect, TRUE);
    if (nRow >= m_fixedRowCount && nCol >= m_fixedColumnCount) {
        // The erase covered the cell's own grid lines: draw them again.
        CPen pen(PS_SOLID, 0, m_gridLineColour);
        CPen* oldPen = pDC->SelectObject(&pen);
        if (m_gridLines == kGridLinesHorizontal || m_gridLines == kGridLinesBoth) {
            pDC->MoveTo(rect.left, rect.bottom);
            pDC->LineTo(rect.right + 1, rect.bottom);
        }
        if (m_gridLines == kGridLinesVertical || m_gridLines == kGridLinesBoth) {
            pDC->MoveTo(rect.right, rect.top);
            pDC->LineTo(rect.right, rect.bottom + 1);
        }
        pDC->SelectObject(oldPen);
    }

    if (ownDC)
        ReleaseDC(ownDC);
    return result;
}

void CGridCtrl::Refresh() {
    if (GetSafeHwnd() && m_allowDraw)
        Invalidate();
}

void CGridCtrl::ResetScrollBars() {
    // The top-left cell follows the scroll positions and sizes, which may have changed.
    m_topLeftCell = CCellID();
}

int CGridCtrl::GetScrollPos32(int nBar, BOOL bGetTrackPos) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    const UINT mask = bGetTrackPos ? SIF_TRACKPOS : SIF_POS;
    if (!IsWindow(GetSafeHwnd()) || !GetScrollInfo(nBar, &info, mask))
        return 0;
    return bGetTrackPos ? info.nTrackPos : info.nPos;
}

int CGridCtrl::GetMouseScrollLines() {
    int lines = 3;
    OSVERSIONINFO version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (GetVersionEx(&version) &&
        !(version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && version.dwMinorVersion == 0)) {
        UINT value = 3;
        if (SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &value, 0))
            lines = static_cast<int>(value); // WHEEL_PAGESCROLL reads as -1: a page per notch
        return lines;
    }
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key) == 0) {
        char text[128] = {};
        DWORD size = sizeof(text) - 1;
        if (RegQueryValueEx(key, "WheelScrollLines", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) == 0)
            lines = static_cast<int>(std::strtol(text, nullptr, 10));
        RegCloseKey(key);
    }
    return lines;
}
