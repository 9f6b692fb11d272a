#include "GridCell.h"

#include "grid/CellPool.h"
#include "grid/GridCtrl.h"
#include "grid/InPlaceEdit.h"

#include "platform/gui/draw/Font.h"
#include "platform/gui/window/Messages.h"
#include "platform/gui/window/Wnd.h"

#include <cstring>
#include <new>

IMPLEMENT_DYNCREATE(CGridCell, CGridCellBase)

// A text cell is six words: the class, state and format, text, grid and the block of rare values.
static_assert(sizeof(CGridCell) <= 48, "a cell grows every grid by its size per cell");

namespace {

#if defined(__SANITIZE_ADDRESS__)
// Under the address sanitizer every cell is its own allocation, so overruns are caught where they happen.
constexpr bool kPoolCells = false;
#else
constexpr bool kPoolCells = true;
#endif

CCellPool& Pool() {
    static CCellPool* pool = new CCellPool(sizeof(CGridCell)); // never freed: cells may outlive static objects
    return *pool;
}

} // namespace

void* CGridCell::operator new(std::size_t size) {
    if (kPoolCells && size == sizeof(CGridCell))
        return Pool().Allocate();
    return ::operator new(size);
}

void CGridCell::operator delete(void* block, std::size_t size) noexcept {
    if (kPoolCells && size == sizeof(CGridCell))
        Pool().Free(block);
    else
        ::operator delete(block);
}

// The members start as Reset leaves them (state 0, format -1, no text, grid or rare values), so a new cell, of
// which a grid makes millions, needs no call of it.
CGridCell::CGridCell() = default;

CGridCell::~CGridCell() = default;

CGridCell& CGridCell::operator=(const CGridCell& cell) {
    CGridCellBase::operator=(cell);
    return *this;
}

CGridCell::Rare& CGridCell::RareFields() {
    if (!m_rare)
        m_rare = std::make_unique<Rare>();
    return *m_rare;
}

void CGridCell::SetImage(int nImage) {
    if (m_rare || nImage != -1)
        RareFields().image = nImage;
}

void CGridCell::SetData(LPARAM lParam) {
    if (m_rare || lParam != 0)
        RareFields().data = lParam;
}

void CGridCell::SetTextClr(COLORREF clr) {
    if (m_rare || clr != CLR_DEFAULT)
        RareFields().textColour = clr;
}

void CGridCell::SetBackClr(COLORREF clr) {
    if (m_rare || clr != CLR_DEFAULT)
        RareFields().backColour = clr;
}

void CGridCell::SetFont(const LOGFONT* plf) {
    if (!plf) {
        if (m_rare)
            m_rare->font.reset();
        return;
    }
    Rare& rare = RareFields();
    if (!rare.font)
        rare.font = std::make_unique<LOGFONT>();
    *rare.font = *plf;
}

void CGridCell::SetMargin(UINT nMargin) {
    if (m_rare || static_cast<int>(nMargin) != -1)
        RareFields().margin = static_cast<int>(nMargin);
}

int CGridCell::GetImage() const { return m_rare ? m_rare->image : -1; }

LPARAM CGridCell::GetData() const { return m_rare ? m_rare->data : 0; }

COLORREF CGridCell::GetTextClr() const { return m_rare ? m_rare->textColour : CLR_DEFAULT; }

COLORREF CGridCell::GetBackClr() const { return m_rare ? m_rare->backColour : CLR_DEFAULT; }

DWORD CGridCell::GetFormat() const {
    if (m_format != static_cast<DWORD>(-1))
        return m_format;
    // A default cell whose own format is unset must not ask itself again.
    const CGridCellBase* defaultCell = GetDefaultCell();
    return defaultCell && defaultCell != this ? defaultCell->GetFormat() : static_cast<DWORD>(-1);
}

UINT CGridCell::GetMargin() const {
    if (m_rare && m_rare->margin != -1)
        return static_cast<UINT>(m_rare->margin);
    const CGridCellBase* defaultCell = GetDefaultCell();
    return defaultCell && defaultCell != this ? defaultCell->GetMargin() : 0;
}

LOGFONT* CGridCell::GetFont() const {
    if (m_rare && m_rare->font)
        return m_rare->font.get();
    const CGridCellBase* defaultCell = GetDefaultCell();
    return defaultCell && defaultCell != this ? defaultCell->GetFont() : nullptr;
}

CFont* CGridCell::GetFontObject() const {
    if (m_rare && m_rare->font) {
        // One object for all cells with fonts of their own; made again only when another font is asked for.
        static CFont* shared = new CFont; // never freed: handed out to DCs that may outlive static objects
        static LOGFONT sharedFont{};
        if (!shared->GetSafeHandle() || std::memcmp(&sharedFont, m_rare->font.get(), sizeof(LOGFONT)) != 0) {
            shared->DeleteObject();
            shared->CreateFontIndirect(m_rare->font.get());
            sharedFont = *m_rare->font;
        }
        return shared;
    }
    const CGridCellBase* defaultCell = GetDefaultCell();
    return defaultCell && defaultCell != this ? defaultCell->GetFontObject() : nullptr;
}

CWnd* CGridCell::GetEditWnd() const { return m_rare ? m_rare->editWnd : nullptr; }

BOOL CGridCell::IsDefaultFont() const { return (m_rare && m_rare->font) ? FALSE : TRUE; }

BOOL CGridCell::IsEditing() const { return m_rare ? m_rare->editing : FALSE; }

void CGridCell::SetEditWnd(CWnd* pEditWnd, BOOL bEditing) {
    if (m_rare || pEditWnd || bEditing) {
        Rare& rare = RareFields();
        rare.editWnd = pEditWnd;
        rare.editing = bEditing;
    }
}

void CGridCell::Reset() {
    CGridCellBase::Reset();
    m_format = static_cast<DWORD>(-1);
    m_text.Clear();
    m_grid = nullptr;
    m_rare.reset();
}

BOOL CGridCell::Edit(int nRow, int nCol, CRect rect, CPoint /*point*/, UINT nID, UINT nChar) {
    if (IsEditing()) {
        if (CWnd* editor = GetEditWnd())
            editor->SendMessage(WM_CHAR, nChar);
        return TRUE;
    }
    const DWORD format = GetFormat();
    const DWORD style = (format & DT_RIGHT) ? ES_RIGHT : (format & DT_CENTER) ? ES_CENTER : ES_LEFT;
    SetEditWnd(nullptr, TRUE);
    auto* editor = new CInPlaceEdit(GetGrid(), rect, style, nID, nRow, nCol, CString(GetText()), nChar);
    if (!editor->GetSafeHwnd()) {
        // Without its window the editor would never report back: the cell must not stay in editing.
        delete editor;
        SetEditWnd(nullptr, FALSE);
        return FALSE;
    }
    SetEditWnd(editor, TRUE);
    return TRUE;
}

void CGridCell::EndEdit() {
    if (auto* editor = dynamic_cast<CInPlaceEdit*>(GetEditWnd()))
        editor->EndEdit();
}

void CGridCell::OnEndEdit() { SetEditWnd(nullptr, FALSE); }
