#pragma once

#include "grid/CellText.h"
#include "grid/GridCellBase.h"

#include <cstddef>
#include <memory>

// The ordinary cell. A grid may hold millions of them, so a cell keeps inline only what nearly every cell has
// (state, format, text, grid), its text in two words, and moves the values most cells leave at their defaults
// (data, image, colours, font, margin, the editor) into one block that exists only once one of them is set.
// Cells of exactly this class come from a pool of fixed-size blocks rather than one heap allocation each.
class CGridCell : public CGridCellBase {
    DECLARE_DYNCREATE(CGridCell)
public:
    CGridCell();
    ~CGridCell() override;

    using CGridCellBase::operator=;
    CGridCell& operator=(const CGridCell& cell);

    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;

    void SetText(LPCTSTR szText) override { m_text.Assign(szText); }
    void SetImage(int nImage) override;
    void SetData(LPARAM lParam) override;
    void SetFormat(DWORD nFormat) override { m_format = nFormat; }
    void SetTextClr(COLORREF clr) override;
    void SetBackClr(COLORREF clr) override;
    // Copies the font into a block of the cell's own; null frees it.
    void SetFont(const LOGFONT* plf) override;
    void SetMargin(UINT nMargin) override;
    void SetGrid(CGridCtrl* pGrid) override { m_grid = pGrid; }
    void SetCoords(int /*nRow*/, int /*nCol*/) override {}

    LPCTSTR GetText() const override { return m_text.c_str(); }
    // The text as the cell keeps it, for a comparison that need not read all of it.
    const CCellText& GetTextObject() const { return m_text; }
    int GetImage() const override;
    LPARAM GetData() const override;
    DWORD GetFormat() const override;
    COLORREF GetTextClr() const override;
    COLORREF GetBackClr() const override;
    LOGFONT* GetFont() const override;
    // A cell with a font of its own draws with one font object that all such cells share, made again from
    // the asking cell's font.
    CFont* GetFontObject() const override;
    CGridCtrl* GetGrid() const override { return m_grid; }
    CWnd* GetEditWnd() const override;
    UINT GetMargin() const override;

    BOOL IsDefaultFont() const override;
    BOOL IsEditing() const override;

    void Reset() override;

    BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;
    void EndEdit() override;
    void OnEndEdit() override;

protected:
    // The values most cells never change, kept apart until one of them is set.
    struct Rare {
        LPARAM data = 0;
        int image = -1;
        int margin = -1;
        COLORREF textColour = CLR_DEFAULT;
        COLORREF backColour = CLR_DEFAULT;
        std::unique_ptr<LOGFONT> font;
        CWnd* editWnd = nullptr;
        BOOL editing = FALSE;
    };
    Rare& RareFields();
    const Rare* RareFieldsIfAny() const { return m_rare.get(); }
    // The editor the cell started, and whether an edit is in progress.
    void SetEditWnd(CWnd* pEditWnd, BOOL bEditing);

private:
    DWORD m_format = static_cast<DWORD>(-1);
    CCellText m_text;
    CGridCtrl* m_grid = nullptr;
    std::unique_ptr<Rare> m_rare;
};
