#include "GridTestSupport.h"

#include "grid/MemDC2.h"

#include "platform/gui/controls/ControlFactory.h"
#include "platform/gui/draw/GdiObject.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/window/ClientDC.h"
#include "platform/gui/window/PaintDC.h"
#include "platform/gui/window/WindowClass.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// Records the grid notifications it receives and answers them.
class NotifyRecorder : public CWnd {
public:
    struct Seen {
        UINT code;
        int row;
        int col;
        UINT_PTR id;
        HWND from;
    };
    std::vector<Seen> seen;
    LRESULT answer = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NOTIFY) {
            const auto* info = reinterpret_cast<const GridNotifyInfo*>(lParam);
            seen.push_back({info->hdr.code, info->row, info->col, info->hdr.idFrom, info->hdr.hwndFrom});
            return answer;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A cell class of the owner's, larger than the grid's own cells.
class CTaggedCell : public CGridCell {
    DECLARE_DYNCREATE(CTaggedCell)
public:
    char m_tag[40] = {};
};
IMPLEMENT_DYNCREATE(CTaggedCell, CGridCell)

bool CreatePopup(CWnd& wnd, const RECT& rect) {
    return wnd.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, rect, nullptr, 0) != FALSE;
}

} // namespace

TEST(GridConstruction, TakesItsShapeAndColoursAndRegistersItsWindowClass) {
    TestGrid empty;
    EXPECT_FALSE(empty.GetModified()); // nothing changed: the counts were already 0

    TestGrid grid(4, 3, 1, 2);
    EXPECT_EQ(grid.GetRowCount(), 4);
    EXPECT_EQ(grid.GetColumnCount(), 3);
    EXPECT_EQ(grid.GetFixedRowCount(), 1);
    EXPECT_EQ(grid.GetFixedColumnCount(), 2);
    EXPECT_TRUE(grid.GetModified()); // its own rows and columns count as a change
    EXPECT_TRUE(grid.IsEditable());
    EXPECT_TRUE(grid.GetTitleTips());
    EXPECT_EQ(grid.GetFocusCell(), CCellID());

    EXPECT_EQ(grid.GetDefaultCell(FALSE, FALSE)->GetBackClr(), GetSysColor(COLOR_WINDOW));
    for (const auto& kind : {std::pair{TRUE, FALSE}, std::pair{FALSE, TRUE}, std::pair{TRUE, TRUE}})
        EXPECT_EQ(grid.GetDefaultCell(kind.first, kind.second)->GetBackClr(), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(grid.GetDefaultCell(TRUE, TRUE)->GetTextClr(), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(grid.GetDefaultCell(TRUE, TRUE)->GetGrid(), &grid);

    WNDCLASS wndClass{};
    ASSERT_TRUE(GetClassInfo(nullptr, kGridWindowClass, &wndClass));
    EXPECT_EQ(wndClass.style & (CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW), UINT(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW));
}

TEST(GridConstruction, NewCellsAreMarkedFixedAndFormattedForTheirKind) {
    TestGrid grid;
    grid.GetDefaultCell(TRUE, TRUE)->SetFormat(DT_BOTTOM | DT_SINGLELINE);
    grid.GetDefaultCell(FALSE, FALSE)->SetFormat(DT_LEFT);
    grid.SetRowCount(3);
    grid.SetColumnCount(3);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);

    const std::unique_ptr<CGridCellBase> corner(grid.MakeCell(0, 0));
    EXPECT_EQ(corner->GetState(), GCS_FIXED | GCS_FIXEDROW | GCS_FIXEDCOL);
    EXPECT_EQ(corner->GetFormat(), static_cast<DWORD>(DT_BOTTOM | DT_SINGLELINE));
    EXPECT_EQ(corner->GetGrid(), &grid);
    EXPECT_TRUE(corner->IsKindOf(RUNTIME_CLASS(CGridCell)));

    EXPECT_EQ(grid.GetItemState(0, 2), GCS_FIXED | GCS_FIXEDROW);
    EXPECT_EQ(grid.GetItemState(2, 0), GCS_FIXED | GCS_FIXEDCOL);
    EXPECT_EQ(grid.GetItemState(2, 2), 0u);
    EXPECT_EQ(grid.GetCell(2, 2)->GetFormat(), static_cast<DWORD>(DT_LEFT));
}

TEST(GridConstruction, TheCellClassMakesEveryCell) {
    TestGrid grid;
    grid.SetCellClass(RUNTIME_CLASS(CTaggedCell));
    grid.SetRowCount(40);
    grid.SetColumnCount(10);
    for (int row = 0; row < 40; row++) {
        for (int col = 0; col < 10; col++) {
            auto* cell = dynamic_cast<CTaggedCell*>(grid.GetCell(row, col));
            ASSERT_NE(cell, nullptr);
            std::memset(cell->m_tag, 'T', sizeof(cell->m_tag));
            grid.SetItemText(row, col, "a text too long to stay inside the cell object");
        }
    }
    // Cells of a larger class do not overlap one another.
    for (int row = 0; row < 40; row++) {
        for (int col = 0; col < 10; col++) {
            const auto* cell = static_cast<CTaggedCell*>(grid.GetCell(row, col));
            EXPECT_EQ(std::string(cell->m_tag, sizeof(cell->m_tag)), std::string(sizeof(cell->m_tag), 'T'));
            EXPECT_STREQ(cell->GetText(), "a text too long to stay inside the cell object");
        }
    }

    // A class that is no cell makes no cells: positions stay empty and items are refused.
    TestGrid odd;
    odd.SetCellClass(RUNTIME_CLASS(CGdiObject));
    odd.SetRowCount(2);
    odd.SetColumnCount(2);
    EXPECT_EQ(odd.GetCell(1, 1), nullptr);
    EXPECT_FALSE(odd.SetItemText(1, 1, "x"));
}

TEST(GridConstruction, ADialogPlaceholderBecomesAGridWithAClientEdge) {
    CWnd dialog;
    ASSERT_TRUE(CreatePopup(dialog, CRect(0, 0, 300, 200)));
    CControlFactory::Create(DlgItemKind::Custom, "", WS_CHILD | WS_VISIBLE, CRect(10, 20, 110, 70),
                            dialog.GetHostWidget(), 1099, kGridWindowClass);
    TestGrid grid; // no cells, so no scroll bars take from the client area
    ASSERT_TRUE(grid.SubclassDlgItem(1099, &dialog));
    EXPECT_TRUE(grid.GetExStyle() & WS_EX_CLIENTEDGE);
    CRect window, client;
    grid.GetWindowRect(&window);
    dialog.ScreenToClient(&window);
    EXPECT_EQ(window, CRect(10, 20, 110, 70)); // moved out and back
    grid.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 96, 46));
}

TEST(GridItems, SettersMarkTheCellAndTheGridModified) {
    TestGrid grid(3, 3);
    grid.SetModified(FALSE);
    EXPECT_EQ(CountCellsWith(grid, GCS_MODIFIED), 0);

    EXPECT_TRUE(grid.SetItemText(1, 2, "HDMI"));
    EXPECT_EQ(grid.GetItemText(1, 2), CString("HDMI"));
    EXPECT_TRUE(grid.GetItemState(1, 2) & GCS_MODIFIED);
    EXPECT_TRUE(grid.GetModified());
    EXPECT_TRUE(grid.SetItemData(2, 0, 17));
    EXPECT_EQ(grid.GetItemData(2, 0), 17);
    EXPECT_EQ(CountCellsWith(grid, GCS_MODIFIED), 2);

    // Clearing one cell's mark leaves the grid's flag; clearing the grid's flag clears every mark.
    grid.SetModified(FALSE, 1, 2);
    EXPECT_FALSE(grid.GetItemState(1, 2) & GCS_MODIFIED);
    EXPECT_TRUE(grid.GetModified());
    grid.SetModified(FALSE);
    EXPECT_EQ(CountCellsWith(grid, GCS_MODIFIED), 0);
    EXPECT_FALSE(grid.GetModified());

    // Outside the grid nothing is set and nothing is read.
    EXPECT_FALSE(grid.SetItemText(3, 0, "x"));
    EXPECT_FALSE(grid.SetItemData(0, -1, 1));
    EXPECT_FALSE(grid.SetItemState(-1, 0, GCS_SELECTED));
    EXPECT_EQ(grid.GetItemText(0, 3), CString());
    EXPECT_EQ(grid.GetItemData(5, 5), 0);
    EXPECT_EQ(grid.GetItemState(5, 5), 0u);
    EXPECT_FALSE(grid.GetModified());
}

TEST(GridItems, SetItemChangesOnlyWhatItsMaskNames) {
    TestGrid grid(2, 2);
    grid.SetModified(FALSE);
    CGridCellBase* cell = grid.GetCell(1, 1);
    cell->SetData(5);
    cell->SetBackClr(RGB(9, 9, 9));

    GridItem item;
    item.row = 1;
    item.col = 1;
    item.mask = GIF_TEXT;
    item.text = "VGA";
    item.lParam = 99;
    item.backColour = RGB(1, 1, 1);
    item.state = GCS_SELECTED;
    EXPECT_TRUE(grid.SetItem(&item));
    EXPECT_STREQ(cell->GetText(), "VGA");
    EXPECT_EQ(cell->GetData(), 5);
    EXPECT_EQ(cell->GetBackClr(), RGB(9, 9, 9));
    EXPECT_EQ(grid.GetItemState(1, 1), GCS_MODIFIED); // marked, but not selected
    EXPECT_TRUE(grid.GetModified());

    item.mask = GIF_PARAM | GIF_IMAGE | GIF_STATE | GIF_FORMAT | GIF_BKCLR | GIF_FGCLR | GIF_FONT | GIF_MARGIN;
    item.image = 2;
    item.format = DT_RIGHT;
    item.textColour = RGB(2, 2, 2);
    item.font.lfHeight = -20;
    item.margin = 6;
    EXPECT_TRUE(grid.SetItem(&item));
    EXPECT_EQ(cell->GetData(), 99);
    EXPECT_EQ(cell->GetImage(), 2);
    EXPECT_EQ(grid.GetItemState(1, 1), GCS_SELECTED); // the item's state replaces the modified mark
    EXPECT_EQ(cell->GetFormat(), static_cast<DWORD>(DT_RIGHT));
    EXPECT_EQ(cell->GetBackClr(), RGB(1, 1, 1));
    EXPECT_EQ(cell->GetTextClr(), RGB(2, 2, 2));
    ASSERT_FALSE(cell->IsDefaultFont());
    EXPECT_EQ(cell->GetFont()->lfHeight, -20);
    EXPECT_EQ(cell->GetMargin(), 6u);
    EXPECT_TRUE(grid.SelectionAgreesWithStates());

    item.row = 2;
    EXPECT_FALSE(grid.SetItem(&item));
    EXPECT_FALSE(grid.SetItem(nullptr));
}

TEST(GridItems, ACellIsEditableInAnEditableGridUnlessItIsReadOnly) {
    TestGrid grid(2, 2);
    EXPECT_TRUE(grid.IsCellEditable(CCellID(1, 1)));
    grid.SetItemState(1, 1, GCS_READONLY);
    EXPECT_FALSE(grid.IsCellEditable(CCellID(1, 1)));
    EXPECT_FALSE(grid.IsCellEditable(CCellID(2, 0)));
    grid.SetEditable(FALSE);
    EXPECT_FALSE(grid.IsCellEditable(CCellID(0, 0)));
}

TEST(GridSelection, TheMapFollowsTheStateBitsAndBoundsTheSelectedRange) {
    TestGrid grid(6, 5, 1, 1);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(6, 5, -1, -1));
    EXPECT_FALSE(grid.GetSelectedCellRange().IsValid());

    grid.SetItemState(2, 3, GCS_SELECTED);
    grid.SetItemState(4, 1, GCS_SELECTED | GCS_MODIFIED);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 1, 4, 3));
    EXPECT_TRUE(grid.IsCellSelected(4, 1));
    grid.SetItemState(2, 3, GCS_MODIFIED);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(4, 1, 4, 1));
    EXPECT_TRUE(grid.SelectionAgreesWithStates());

    // With selection switched off no cell reads as selected, but map and bits still move together.
    grid.EnableSelection(FALSE);
    EXPECT_FALSE(grid.IsCellSelected(4, 1));
    grid.SetItemState(4, 1, 0);
    grid.SetItemState(3, 3, GCS_SELECTED);
    EXPECT_TRUE(grid.SelectionAgreesWithStates());
    EXPECT_EQ(grid.SelectedInMap(), 1u);
}

TEST(GridSelection, SelectingABlockAddsToThePreviousSelectionAndClearingEmptiesBoth) {
    TestGrid grid(6, 6, 1, 1);
    ASSERT_TRUE(CreateGridWindow(grid, 400, 300));
    grid.SetSelectedRange(0, 0, 2, 2); // bounds in the fixed area move to the first non-fixed cell
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 1, 2, 2));
    EXPECT_EQ(grid.SelectedInMap(), 4u);
    grid.SetSelectedRange(3, 3, 4, 4); // replaces the selection
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(3, 3, 4, 4));
    grid.SetSelectedRange(4, 4, 4, 4, FALSE, FALSE); // deselects only that cell
    EXPECT_EQ(grid.SelectedInMap(), 3u);
    grid.SetSelectedRange(3, 3, 9, 9); // a block outside the grid selects nothing
    EXPECT_EQ(grid.SelectedInMap(), 0u);
    EXPECT_TRUE(grid.SelectionAgreesWithStates());

    grid.SetSelectedRange(1, 1, 5, 5, TRUE);
    grid.SetFocusCell(2, 2);
    grid.ResetSelectedRange();
    EXPECT_EQ(grid.SelectedInMap(), 0u);
    EXPECT_EQ(grid.GetFocusCell(), CCellID());
    EXPECT_TRUE(grid.SelectionAgreesWithStates());
}

TEST(GridSelection, MapAndStateBitsAgreeAfterEveryChangeOfShape) {
    TestGrid grid(8, 6, 1, 1);
    auto selectSome = [&grid]() {
        for (int row = 1; row < grid.GetRowCount(); row += 2)
            for (int col = 1; col < grid.GetColumnCount(); col += 2)
                grid.SetItemState(row, col, grid.GetItemState(row, col) | GCS_SELECTED);
    };
    const struct {
        const char* what;
        std::function<void()> change;
    } changes[] = {
        {"fewer rows", [&] { grid.SetRowCount(5); }},
        {"fewer columns", [&] { grid.SetColumnCount(4); }},
        {"more rows", [&] { grid.SetRowCount(9); }},
        {"more columns", [&] { grid.SetColumnCount(7); }},
        {"a row inserted", [&] { grid.InsertRow("new", 2); }},
        {"a column inserted", [&] { grid.InsertColumn("new", DT_LEFT, 1); }},
        {"a row deleted", [&] { grid.DeleteRow(3); }},
        {"the non-fixed rows deleted", [&] { grid.DeleteNonFixedRows(); }},
        {"more fixed rows", [&] { grid.SetRowCount(8), grid.SetFixedRowCount(2); }},
        {"fewer fixed columns", [&] { grid.SetFixedColumnCount(0); }},
        {"the modified marks cleared", [&] { grid.SetModified(FALSE); }},
        {"the focus moved", [&] { grid.SetFocusCell(3, 3); }},
        {"everything deleted", [&] { grid.DeleteAllItems(); }},
    };
    for (const auto& step : changes) {
        selectSome();
        ASSERT_TRUE(grid.SelectionAgreesWithStates()) << "before " << step.what;
        step.change();
        EXPECT_TRUE(grid.SelectionAgreesWithStates()) << "after " << step.what;
    }
}

TEST(GridSelection, CellsFarApartInALargeGridKeepTheirOwnPlaceInTheMap) {
    TestGrid grid(65538, 2, 1, 1); // rows 1 and 65537 agree in their lowest 16 bits
    grid.SetItemState(1, 1, GCS_SELECTED);
    grid.SetItemState(65537, 1, GCS_SELECTED);
    EXPECT_EQ(grid.SelectedInMap(), 2u);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 1, 65537, 1));
    grid.SetItemState(1, 1, 0);
    EXPECT_TRUE(grid.IsCellSelected(65537, 1));
    EXPECT_TRUE(grid.SelectionAgreesWithStates());
}

TEST(GridFocus, MovesOutOfTheFixedAreaAndCarriesTheFocusBit) {
    TestGrid grid(4, 4, 1, 1);
    EXPECT_EQ(grid.SetFocusCell(0, 0), CCellID());
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1));
    EXPECT_TRUE(grid.GetCell(1, 1)->IsFocused());

    EXPECT_EQ(grid.SetFocusCell(2, 3), CCellID(1, 1));
    EXPECT_FALSE(grid.GetCell(1, 1)->IsFocused());
    EXPECT_EQ(CountCellsWith(grid, GCS_FOCUSED), 1);
    EXPECT_EQ(grid.SetFocusCell(2, 3), CCellID(2, 3)); // the same cell: unchanged

    EXPECT_EQ(grid.SetFocusCell(-1, -1), CCellID(2, 3));
    EXPECT_EQ(grid.GetFocusCell(), CCellID());
    EXPECT_EQ(CountCellsWith(grid, GCS_FOCUSED), 0);

    // A position outside the grid is no focus cell, so none appears when the grid grows later.
    grid.SetFocusCell(7, 2);
    EXPECT_EQ(grid.GetFocusCell(), CCellID());
    grid.SetRowCount(10);
    EXPECT_EQ(CountCellsWith(grid, GCS_FOCUSED), 0);
}

TEST(GridFocus, LeavesARowThatGoesAway) {
    TestGrid grid(5, 3, 1, 1);
    grid.SetFocusCell(3, 1);
    EXPECT_TRUE(grid.DeleteRow(3));
    EXPECT_EQ(grid.GetFocusCell(), CCellID());
    EXPECT_EQ(CountCellsWith(grid, GCS_FOCUSED), 0);

    grid.SetFocusCell(3, 2);
    grid.SetRowCount(3);
    EXPECT_EQ(grid.GetFocusCell(), CCellID());
    grid.SetFocusCell(2, 2);
    grid.SetColumnCount(2);
    EXPECT_EQ(grid.GetFocusCell(), CCellID());
    EXPECT_EQ(CountCellsWith(grid, GCS_FOCUSED), 0);
}

TEST(GridNotifications, GoToTheOwnerBeforeTheParent) {
    NotifyRecorder parent, owner;
    ASSERT_TRUE(CreatePopup(parent, CRect(0, 0, 200, 200)));
    ASSERT_TRUE(CreatePopup(owner, CRect(0, 0, 50, 50)));
    TestGrid grid(3, 3);
    EXPECT_EQ(grid.SendMessageToParent(1, 1, NM_CLICK), 0); // no window yet: nobody to tell
    ASSERT_TRUE(grid.Create(kGridWindowClass, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), &parent, 77));

    grid.SetOwner(&owner);
    owner.answer = -1;
    EXPECT_EQ(grid.SendMessageToParent(2, 1, GN_BEGINLABELEDIT), -1);
    ASSERT_EQ(owner.seen.size(), 1u);
    EXPECT_TRUE(parent.seen.empty());
    EXPECT_EQ(owner.seen[0].code, GN_BEGINLABELEDIT);
    EXPECT_EQ(owner.seen[0].row, 2);
    EXPECT_EQ(owner.seen[0].col, 1);
    EXPECT_EQ(owner.seen[0].id, 77u);
    EXPECT_EQ(owner.seen[0].from, grid.GetSafeHwnd());

    grid.SetOwner(nullptr);
    EXPECT_EQ(grid.SendMessageToParent(-1, -1, NM_RCLICK), 0);
    ASSERT_EQ(parent.seen.size(), 1u);
    EXPECT_EQ(parent.seen[0].code, NM_RCLICK);
    EXPECT_EQ(parent.seen[0].row, -1);
}

TEST(MemoryDC, PaintsTheClipBoxInOnePieceOverTheTargetsBackground) {
    CWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd, CRect(0, 0, 100, 80)));
    {
        CClientDC target(&wnd);
        target.FillSolidRect(0, 0, 100, 80, RGB(0, 0, 0));
        target.IntersectClipRect(10, 10, 60, 50);
        target.SetBkColor(RGB(0, 0, 200));
        CMemDC2 memory(&target);
        memory->FillSolidRect(30, 30, 50, 10, RGB(200, 0, 0)); // runs past the clip box
        EXPECT_EQ(PixelAt(wnd, 35, 35), RGB(0, 0, 0));         // nothing reaches the window before the end
    }
    EXPECT_EQ(PixelAt(wnd, 12, 12), RGB(0, 0, 200)); // the background of the clip box
    EXPECT_EQ(PixelAt(wnd, 35, 35), RGB(200, 0, 0));
    EXPECT_EQ(PixelAt(wnd, 59, 35), RGB(200, 0, 0));
    EXPECT_EQ(PixelAt(wnd, 65, 35), RGB(0, 0, 0)); // outside the clip box
    EXPECT_EQ(PixelAt(wnd, 5, 5), RGB(0, 0, 0));
}

TEST(MemoryDC, DrawsStraightThroughOnAPrinter) {
    QImage page(40, 40, QImage::Format_RGB32);
    page.fill(Qt::white);
    CDC printer;
    ASSERT_TRUE(printer.AttachImage(&page));
    printer.m_bPrinting = TRUE;
    {
        CMemDC2 memory(&printer);
        EXPECT_TRUE(memory.IsPrinting());
        memory.FillSolidRect(0, 0, 10, 10, RGB(0, 200, 0));
        EXPECT_EQ(QColor(page.pixel(5, 5)), QColor(0, 200, 0)); // at once
    }
    printer.FillSolidRect(20, 20, 5, 5, RGB(200, 0, 0)); // the printer's DC still works afterwards
    printer.DetachImage();
    EXPECT_EQ(QColor(page.pixel(22, 22)), QColor(200, 0, 0));
}

TEST(MemoryDC, APaintOfTheSameSizeReusesTheBufferYetShowsNothingOfTheLastPaint) {
    QImage target(400, 300, QImage::Format_RGB32);
    target.fill(Qt::black);
    CDC dc;
    ASSERT_TRUE(dc.AttachImage(&target));
    HGDIOBJ first = nullptr;
    {
        dc.SetBkColor(RGB(0, 0, 200));
        CMemDC2 memory(&dc);
        first = memory.GetCurrentBitmap()->m_hObject;
        memory.FillSolidRect(10, 10, 50, 50, RGB(200, 0, 0));
    }
    EXPECT_EQ(QColor(target.pixel(20, 20)), QColor(200, 0, 0));
    {
        dc.SetBkColor(RGB(0, 200, 0));
        CMemDC2 memory(&dc);
        EXPECT_EQ(memory.GetCurrentBitmap()->m_hObject, first); // the last paint's buffer
    }
    EXPECT_EQ(QColor(target.pixel(20, 20)), QColor(0, 200, 0)); // filled afresh, nothing left of the red
    EXPECT_EQ(QColor(target.pixel(300, 200)), QColor(0, 200, 0));
    {
        dc.IntersectClipRect(0, 0, 390, 290); // a smaller paint: the larger buffer, drawn on within its rectangle
        CMemDC2 memory(&dc);
        EXPECT_EQ(memory.GetCurrentBitmap()->m_hObject, first);
        memory.FillSolidRect(0, 0, 400, 300, RGB(1, 2, 3));
    }
    EXPECT_EQ(QColor(target.pixel(389, 289)), QColor(1, 2, 3));
    EXPECT_EQ(QColor(target.pixel(395, 295)), QColor(0, 200, 0));
    dc.DetachImage();
}
