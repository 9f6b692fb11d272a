#include "GridCellBase.h"

#include "grid/GridCtrl.h"
#include "grid/GridDefaultCell.h"

#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Font.h"
#include "platform/gui/draw/Pen.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/window/Cursor.h"

#include <algorithm>
#include <array>
#include <cstring>

IMPLEMENT_DYNAMIC(CGridCellBase, CObject)

CGridCellBase& CGridCellBase::operator=(const CGridCellBase& cell) {
    if (this == &cell)
        return *this;
    SetGrid(cell.GetGrid());
    SetText(cell.GetText());
    SetImage(cell.GetImage());
    SetData(cell.GetData());
    SetState(cell.GetState());
    SetFormat(cell.GetFormat());
    SetTextClr(cell.GetTextClr());
    SetBackClr(cell.GetBackClr());
    SetFont(cell.IsDefaultFont() ? nullptr : cell.GetFont());
    SetMargin(cell.GetMargin());
    return *this;
}

CGridCellBase* CGridCellBase::GetDefaultCell() const {
    CGridCtrl* grid = GetGrid();
    return grid ? grid->GetDefaultCell(IsFixedRow(), IsFixedCol()) : nullptr;
}

void CGridCellBase::DrawRaisedEdge(CDC* pDC, CRect& rect) {
    CPen light(PS_SOLID, 1, GetSysColor(COLOR_3DHIGHLIGHT));
    CPen dark(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW));
    CPen* oldPen = pDC->SelectObject(&light);
    pDC->MoveTo(rect.right, rect.top);
    pDC->LineTo(rect.left, rect.top);
    pDC->LineTo(rect.left, rect.bottom);
    pDC->SelectObject(&dark);
    pDC->MoveTo(rect.right, rect.top);
    pDC->LineTo(rect.right, rect.bottom);
    pDC->LineTo(rect.left, rect.bottom);
    pDC->SelectObject(oldPen);
    rect.DeflateRect(1, 1);
}

BOOL CGridCellBase::Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd) {
    CGridCtrl* grid = GetGrid();
    if (!grid || !pDC || rect.Width() <= 0 || rect.Height() <= 0)
        return FALSE;
    const CGridCellBase* defaultCell = GetDefaultCell();
    if (!defaultCell)
        return FALSE;

    const int savedDC = pDC->SaveDC();
    pDC->SetBkMode(TRANSPARENT);

    COLORREF textColour = GetTextClr() == CLR_DEFAULT ? defaultCell->GetTextClr() : GetTextClr();
    COLORREF backColour = defaultCell->GetBackClr();
    if (GetBackClr() != CLR_DEFAULT) {
        backColour = GetBackClr();
        bEraseBkgnd = TRUE; // a colour of the cell's own is always painted
    }

    // The cell's background covers its last row and column too, where the grid lines go.
    CRect fill = rect;
    fill.right++;
    fill.bottom++;
    if (!IsFocused() && !IsDropHighlighted()) {
        if (IsSelected()) {
            pDC->FillSolidRect(&fill, GetSysColor(COLOR_HIGHLIGHT));
            pDC->SetTextColor(GetSysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            if (bEraseBkgnd) {
                CBrush brush(backColour);
                pDC->FillRect(&fill, &brush);
            }
            pDC->SetTextColor(textColour);
        }
    } else {
        if (IsSelected()) {
            backColour = GetSysColor(COLOR_HIGHLIGHT);
            textColour = GetSysColor(COLOR_HIGHLIGHTTEXT);
            bEraseBkgnd = TRUE;
        }
        if (bEraseBkgnd) {
            CBrush brush(backColour);
            pDC->FillRect(&fill, &brush);
        }
        if (grid->GetFrameFocusCell()) {
            CBrush frame(textColour);
            pDC->FrameRect(&rect, &frame);
        }
        pDC->SetTextColor(textColour);
    }

    if (IsFixed()) {
        const CCellID focus = grid->GetFocusCell();
        if (grid->GetTrackFocusCell() && grid->IsValid(focus) && (focus.row == nRow || focus.col == nCol)) {
            rect.right++;
            rect.bottom++;
            pDC->DrawEdge(&rect, BDR_SUNKENINNER, BF_RECT);
            rect.DeflateRect(1, 1);
        } else {
            DrawRaisedEdge(pDC, rect);
        }
    }

    if (CFont* font = GetFontObject())
        pDC->SelectObject(font);

    const int margin = static_cast<int>(GetMargin());
    rect.DeflateRect(margin, margin);
    rect.right++;
    rect.bottom++;

    if (nRow == 0 && nCol == grid->GetSortColumn())
        DrawSortMark(pDC, rect, grid->GetSortAscending());

    GetTextRect(&rect);
    rect.right++;
    rect.bottom++;
    pDC->DrawText(GetText(), -1, &rect, GetFormat() | DT_NOPREFIX);

    pDC->RestoreDC(savedDC);
    return TRUE;
}

void CGridCellBase::DrawSortMark(CDC* pDC, CRect& rect, BOOL bAscending) {
    int size = pDC->GetTextExtent("M", 1).cy - 4;
    if (size >= rect.Height())
        size = rect.Height() - 4;
    if (rect.left + size >= rect.right)
        return;
    // Text turned a quarter keeps its width: the mark goes in the middle instead of at the right.
    const LOGFONT* font = GetFont();
    const bool upright = font && font->lfEscapement == 900;
    const int y = rect.bottom - size - 2;
    const int x = upright ? (rect.left + rect.right - size) / 2 : rect.right - size;
    const int half = size / 2;
    using Corners = std::array<CPoint, 3>;
    const Corners corners = bAscending ? Corners{CPoint(x, y + size), CPoint(x + half, y), CPoint(x + size, y + size)}
                                       : Corners{CPoint(x, y), CPoint(x + half, y + size), CPoint(x + size, y)};
    CPen shadow(PS_SOLID, 0, GetSysColor(COLOR_BTNSHADOW));
    CPen highlight(PS_SOLID, 0, GetSysColor(COLOR_BTNHIGHLIGHT));
    // A raised mark: the highlight a pixel right and below, the shadow in place.
    auto outline = [&](int shift) {
        pDC->MoveTo(corners[0].x + shift, corners[0].y + shift);
        for (int i : {1, 2, 0})
            pDC->LineTo(corners[i].x + shift, corners[i].y + shift);
    };
    CPen* oldPen = pDC->SelectObject(&highlight);
    outline(1);
    pDC->SelectObject(&shadow);
    outline(0);
    pDC->SelectObject(oldPen);
    if (!upright)
        rect.right -= size;
}

BOOL CGridCellBase::PrintCell(CDC* pDC, int /*nRow*/, int /*nCol*/, CRect rect) {
    CGridCtrl* grid = GetGrid();
    if (!grid || !pDC || rect.Width() <= 0 || rect.Height() < 1)
        return FALSE;
    COLORREF textColour = RGB(0, 0, 0);
    COLORREF backColour = CLR_DEFAULT;
    if (grid->GetPrintColours()) {
        const CGridCellBase* defaultCell = GetDefaultCell();
        if (!defaultCell)
            return FALSE;
        // A normal cell's background prints only where it differs from the default; a fixed cell's always.
        if (IsFixed())
            backColour = GetBackClr() != CLR_DEFAULT ? GetBackClr() : defaultCell->GetBackClr();
        else if (GetBackClr() != CLR_DEFAULT && GetBackClr() != defaultCell->GetBackClr())
            backColour = GetBackClr();
        textColour = GetTextClr() != CLR_DEFAULT ? GetTextClr() : defaultCell->GetTextClr();
    }

    const int savedDC = pDC->SaveDC();
    pDC->SetBkMode(TRANSPARENT);
    if (grid->GetPrintColours()) {
        if (pDC->GetDeviceCaps(NUMCOLORS) == 2 && backColour == CLR_DEFAULT) {
            // A black-and-white printer gets the text's brightness.
            textColour =
                RGB(static_cast<BYTE>(GetRValue(textColour) * 0.3), static_cast<BYTE>(GetGValue(textColour) * 0.59),
                    static_cast<BYTE>(GetBValue(textColour) * 0.11));
        } else if (backColour != CLR_DEFAULT) {
            CRect fill = rect;
            fill.right++;
            fill.bottom++;
            CBrush brush(backColour);
            pDC->FillRect(&fill, &brush);
        }
    }
    pDC->SetTextColor(textColour);
    if (CFont* font = GetFontObject())
        pDC->SelectObject(font);

    if (grid->GetGridLines() != kGridLinesNone && IsFixed()) {
        DrawRaisedEdge(pDC, rect);
    }

    const int margin = static_cast<int>(GetMargin());
    rect.DeflateRect(margin, 0);
    pDC->DrawText(GetText(), -1, &rect, GetFormat() | DT_NOPREFIX);
    pDC->RestoreDC(savedDC);
    return TRUE;
}

BOOL CGridCellBase::GetTextRect(LPRECT /*pRect*/) { return TRUE; }

CSize CGridCellBase::GetTextExtent(LPCTSTR szText, CDC* pDC) {
    CGridCtrl* grid = GetGrid();
    const auto* defaultCell = dynamic_cast<const CGridDefaultCell*>(GetDefaultCell());
    const CSize defaultSize = defaultCell ? CSize(defaultCell->GetWidth(), defaultCell->GetHeight()) : CSize(0, 0);
    if (!szText)
        return defaultSize;

    CDC* ownDC = nullptr;
    if (!pDC) {
        ownDC = grid ? grid->GetDC() : nullptr;
        if (!ownDC)
            return defaultSize;
        pDC = ownDC;
    }

    CFont* oldFont = nullptr;
    if (CFont* font = GetFontObject())
        oldFont = pDC->SelectObject(font);

    CSize size;
    const DWORD format = GetFormat();
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) {
        // Wrapped text: as wide as its widest line, as high as DrawText lays it out at that width.
        int widest = 0;
        const char* line = szText;
        for (;;) {
            const char* end = std::strchr(line, '\n');
            const int length = end ? static_cast<int>(end - line) : static_cast<int>(std::strlen(line));
            widest = std::max<int>(widest, pDC->GetTextExtent(line, length).cx);
            if (!end)
                break;
            line = end + 1;
        }
        CRect rect(0, 0, widest + 1, 0);
        pDC->DrawText(szText, -1, &rect, format | DT_CALCRECT);
        size = CSize(rect.Width(), rect.Height());
    } else {
        size = pDC->GetTextExtent(szText, static_cast<int>(std::strlen(szText)));
    }

    if (oldFont)
        pDC->SelectObject(oldFont);
    const int margin = static_cast<int>(GetMargin());
    size.cx += 2 * margin;
    size.cy += 2 * margin;

    // Text turned a quarter: width and height change places.
    if (const LOGFONT* font = GetFont()) {
        if (font->lfEscapement == 900 || font->lfEscapement == -900) {
            const LONG width = size.cx;
            size.cx = size.cy;
            size.cy = width + 4 * margin;
        }
    }

    if (ownDC)
        grid->ReleaseDC(ownDC);
    return size;
}

CSize CGridCellBase::GetCellExtent(CDC* pDC) {
    CSize size = GetTextExtent(GetText(), pDC);
    const int extra = IsFixed() ? 2 : 1;
    size.cx += extra;
    size.cy += extra;
    return size;
}

BOOL CGridCellBase::Edit(int /*nRow*/, int /*nCol*/, CRect /*rect*/, CPoint /*point*/, UINT /*nID*/, UINT /*nChar*/) {
    return FALSE;
}

BOOL CGridCellBase::ValidateEdit(LPCTSTR /*szText*/) { return TRUE; }

BOOL CGridCellBase::OnSetCursor() {
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
}
