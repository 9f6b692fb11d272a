#pragma once

#include "grid/GridCell.h"

#include "platform/gui/draw/Font.h"

// The values a cell uses where its own are left at their defaults, and the default column width and row
// height. It is always read-only and keeps no data or state of its own.
class CGridDefaultCell : public CGridCell {
    DECLARE_DYNCREATE(CGridDefaultCell)
public:
    // Takes the system's message font and measures itself with it.
    CGridDefaultCell();
    ~CGridDefaultCell() override;

    using CGridCell::operator=;

    void SetData(LPARAM /*lParam*/) override {}
    void SetState(DWORD /*nState*/) override {}
    DWORD GetState() const override { return CGridCell::GetState() | GCS_READONLY; }
    // Also sets the margin (one blank's width), the width and the height (one and a half lines) from the font.
    void SetFont(const LOGFONT* plf) override;
    LOGFONT* GetFont() const override;
    CFont* GetFontObject() const override;

    virtual DWORD GetStyle() const { return m_style; }
    virtual void SetStyle(DWORD dwStyle) { m_style = dwStyle; }
    virtual int GetWidth() const { return m_width; }
    virtual int GetHeight() const { return m_height; }
    virtual void SetWidth(int nWidth) { m_width = nWidth; }
    virtual void SetHeight(int nHeight) { m_height = nHeight; }

private:
    int m_width = 30;
    int m_height = 10;
    // Mutable: handed out by the const getter for selecting into a DC.
    mutable CFont m_fontObject;
    DWORD m_style = 0;
};
