#pragma once

#include "platform/gui/draw/Gdi.h"
#include "platform/os/Object.h"
#include "platform/os/Point.h"
#include "platform/os/Rect.h"
#include "platform/os/RuntimeClass.h"

class CDC;
class CFont;
class CGridCtrl;
class CWnd;

// A cell's state bits.
constexpr DWORD GCS_FOCUSED = 0x01;
constexpr DWORD GCS_SELECTED = 0x02; // the grid keeps every selected cell in its selection map too
constexpr DWORD GCS_DROPHILITED = 0x04;
constexpr DWORD GCS_READONLY = 0x08;
constexpr DWORD GCS_FIXED = 0x10;
constexpr DWORD GCS_FIXEDROW = 0x20;
constexpr DWORD GCS_FIXEDCOL = 0x40;
constexpr DWORD GCS_MODIFIED = 0x80;

// A cell of a grid: it keeps its contents, looks, state and grid, and draws, measures and edits itself. Values
// left at their defaults (CLR_DEFAULT, format or margin -1, no font) are taken from the grid's default cell for
// the cell's kind.
class CGridCellBase : public CObject {
    DECLARE_DYNAMIC(CGridCellBase)
public:
    CGridCellBase() = default;
    ~CGridCellBase() override = default;

    virtual void SetText(LPCTSTR szText) = 0;
    virtual void SetImage(int nImage) = 0;
    virtual void SetData(LPARAM lParam) = 0;
    virtual void SetState(DWORD nState) { m_state = nState; }
    virtual void SetFormat(DWORD nFormat) = 0;
    virtual void SetTextClr(COLORREF clr) = 0;
    virtual void SetBackClr(COLORREF clr) = 0;
    virtual void SetFont(const LOGFONT* plf) = 0;
    virtual void SetMargin(UINT nMargin) = 0;
    virtual void SetGrid(CGridCtrl* pGrid) = 0;
    virtual void SetCoords(int nRow, int nCol) = 0;

    virtual LPCTSTR GetText() const = 0;
    virtual LPCTSTR GetTipText() const { return GetText(); }
    virtual int GetImage() const = 0;
    virtual LPARAM GetData() const = 0;
    virtual DWORD GetState() const { return m_state; }
    virtual DWORD GetFormat() const = 0;
    virtual COLORREF GetTextClr() const = 0;
    virtual COLORREF GetBackClr() const = 0;
    virtual LOGFONT* GetFont() const = 0;
    virtual CFont* GetFontObject() const = 0;
    virtual CGridCtrl* GetGrid() const = 0;
    virtual CWnd* GetEditWnd() const = 0;
    virtual UINT GetMargin() const = 0;
    // The grid's default cell for this cell's kind (normal, fixed column, fixed row, corner); null without a grid.
    virtual CGridCellBase* GetDefaultCell() const;

    virtual BOOL IsDefaultFont() const = 0;
    virtual BOOL IsEditing() const = 0;
    virtual BOOL IsFocused() const { return (GetState() & GCS_FOCUSED) ? TRUE : FALSE; }
    virtual BOOL IsFixed() const { return (GetState() & GCS_FIXED) ? TRUE : FALSE; }
    virtual BOOL IsFixedCol() const { return (GetState() & GCS_FIXEDCOL) ? TRUE : FALSE; }
    virtual BOOL IsFixedRow() const { return (GetState() & GCS_FIXEDROW) ? TRUE : FALSE; }
    virtual BOOL IsSelected() const { return (GetState() & GCS_SELECTED) ? TRUE : FALSE; }
    virtual BOOL IsReadOnly() const { return (GetState() & GCS_READONLY) ? TRUE : FALSE; }
    virtual BOOL IsModified() const { return (GetState() & GCS_MODIFIED) ? TRUE : FALSE; }
    virtual BOOL IsDropHighlighted() const { return (GetState() & GCS_DROPHILITED) ? TRUE : FALSE; }

    // Copies another cell through its getters and this cell's setters.
    virtual CGridCellBase& operator=(const CGridCellBase& cell);

    virtual void Reset() { m_state = 0; }

    // rect is inclusive (right = left + width - 1); bEraseBkgnd asks for the background to be painted.
    virtual BOOL Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd = TRUE);
    virtual BOOL GetTextRect(LPRECT pRect);
    virtual BOOL GetTipTextRect(LPRECT pRect) { return GetTextRect(pRect); }
    // Without a DC, measures on the grid window's DC.
    virtual CSize GetTextExtent(LPCTSTR szText, CDC* pDC = nullptr);
    virtual CSize GetCellExtent(CDC* pDC);

    virtual BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar);
    virtual BOOL ValidateEdit(LPCTSTR szText);
    virtual void EndEdit() {}
    // Prints the cell on a printer DC in rect (inclusive), as the grid lays its pages out.
    virtual BOOL PrintCell(CDC* pDC, int nRow, int nCol, CRect rect);
    virtual void OnEndEdit() {}

    // Mouse events; points are relative to the cell's top-left corner.
    virtual void OnMouseEnter() {}
    virtual void OnMouseOver() {}
    virtual void OnMouseLeave() {}
    virtual void OnClick(CPoint /*pointCellRelative*/) {}
    virtual void OnClickDown(CPoint /*pointCellRelative*/) {}
    virtual void OnRClick(CPoint /*pointCellRelative*/) {}
    virtual void OnDblClick(CPoint /*pointCellRelative*/) {}
    virtual BOOL OnSetCursor();

protected:
    // A fixed cell's raised look: light along the top and left, dark along the right and bottom; rect then
    // shrinks inside it.
    static void DrawRaisedEdge(CDC* pDC, CRect& rect);
    // The triangle of the sort column's heading, at the right of rect (which then leaves it out for the text).
    void DrawSortMark(CDC* pDC, CRect& rect, BOOL bAscending);

    DWORD m_state = 0;
};
