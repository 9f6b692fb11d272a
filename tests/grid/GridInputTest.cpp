#include "GridTestSupport.h"

#include "platform/gui/window/Cursor.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// Thirty rows and ten columns of 40 x 20 pixels, one fixed row and column, in a 400 x 300 window with both bars
// (a client area of 383 x 283), owned by a window that records what the grid tells it. Unscrolled, cell (r, c)
// starts at x = 40 c, y = 20 r.
class GridInput : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(owner.Create());
        SizeAll(grid, 40, 20);
        ASSERT_TRUE(CreateGridWindow(grid, 400, 300));
        grid.SetDlgCtrlID(77);
        grid.SetOwner(&owner);
        widget = grid.GetHostWidget();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widget));
    }
    void TearDown() override {
        SetCursorPosHandler(nullptr);
        ClipCursor(nullptr);
    }

    // A client point as a point of the host widget.
    QPoint W(CPoint p) {
        grid.ClientToScreen(&p);
        return widget->mapFromGlobal(QPoint(p.x, p.y));
    }
    CPoint Centre(int row, int col) {
        CRect r;
        EXPECT_TRUE(grid.GetCellRect(row, col, &r));
        return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    void Press(CPoint p, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::mousePress(widget, Qt::LeftButton, m, W(p));
    }
    void Release(CPoint p, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::mouseRelease(widget, Qt::LeftButton, m, W(p));
    }
    void Move(CPoint p) { QTest::mouseMove(widget, W(p)); }
    void Click(int row, int col, Qt::KeyboardModifiers m = Qt::NoModifier) {
        Press(Centre(row, col), m);
        Release(Centre(row, col), m);
    }
    void Drag(CPoint from, CPoint to) {
        Press(from);
        Move(to);
        Release(to);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(widget, key, m); }
    int Selected() { return CountCellsWith(grid, GCS_SELECTED); }
    bool CommandArrived(int waitMs = 1000) {
        return QTest::qWaitFor([&] { return !owner.seen.empty() && owner.seen.back().rfind("command", 0) == 0; },
                               waitMs);
    }

    GridOwner owner;
    TestGrid grid{30, 10, 1, 1};
    QWidget* widget = nullptr;
};

} // namespace

TEST_F(GridInput, AClickNotifiesInOrderThenPostsACommandToTheOwner) {
    Click(2, 2);
    EXPECT_EQ(owner.seen, (Strings{"selchanging 2 2", "selchanged 2 2", "click 2 2"})); // the command comes later
    ASSERT_TRUE(CommandArrived());
    EXPECT_EQ(owner.seen.back(), "command 77 0");
    EXPECT_EQ(owner.commandFrom, grid.GetSafeHwnd());
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 2));
    EXPECT_EQ(Selected(), 1);

    // A right click moves the focus, leaves the selection and posts nothing.
    owner.seen.clear();
    QTest::mouseClick(widget, Qt::RightButton, Qt::NoModifier, W(Centre(3, 3)));
    EXPECT_EQ(owner.seen, Strings{"rclick 3 3"});
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 3));
    EXPECT_TRUE(grid.IsCellSelected(2, 2));

    // Outside every cell nothing is selected, and the owner gets no command.
    grid.SetRowCount(3);
    owner.seen.clear();
    Press(CPoint(100, 70));
    Release(CPoint(100, 70));
    EXPECT_FALSE(CommandArrived(100));
    EXPECT_EQ(Selected(), 1);
}

TEST_F(GridInput, CtrlTogglesCellsAndShiftExtendsFromTheAnchor) {
    Click(2, 2);
    Click(4, 4, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 2, 4, 4));
    EXPECT_EQ(Selected(), 9);

    Click(3, 3, Qt::ControlModifier); // only that cell leaves
    EXPECT_EQ(Selected(), 8);
    EXPECT_FALSE(grid.IsCellSelected(3, 3));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 3));

    Click(4, 4, Qt::ControlModifier | Qt::ShiftModifier); // the block from the anchor (3, 3) leaves
    EXPECT_EQ(Selected(), 5);
    EXPECT_FALSE(grid.IsCellSelected(4, 3));
    EXPECT_TRUE(grid.IsCellSelected(4, 2));

    Click(6, 6, Qt::ControlModifier); // added to what is selected
    EXPECT_EQ(Selected(), 6);
    EXPECT_TRUE(grid.IsCellSelected(2, 4));
    Click(1, 1); // a plain click starts again
    EXPECT_EQ(Selected(), 1);
    EXPECT_TRUE(grid.SelectionAgreesWithStates());
}

TEST_F(GridInput, ClicksOnHeadingsSelectColumnsRowsOrEverything) {
    Click(0, 2);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 2, 29, 2));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(-1, -1));
    Drag(Centre(0, 2), Centre(0, 3));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 2, 29, 3));
    Click(3, 0);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(3, 1, 3, 9));
    Click(0, 0);
    EXPECT_EQ(Selected(), 29 * 9);
}

TEST_F(GridInput, ArrowsMoveTheSelectionAndShiftExtendsIt) {
    Click(2, 2);
    owner.seen.clear();
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 2, 3, 3));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 3));
    EXPECT_EQ(owner.seen, (Strings{"selchanging 3 2", "selchanged 3 2", "selchanging 3 3", "selchanged 3 3"}));

    grid.SetRowHeight(4, 0);
    Key(Qt::Key_Down); // over the hidden row
    EXPECT_EQ(grid.GetFocusCell(), CCellID(5, 3));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(5, 3, 5, 3));
    Key(Qt::Key_Up);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 3));
}

TEST_F(GridInput, TabWrapsToTheNextRowAndScrollsBackToItsStart) {
    grid.SetFocusCell(2, 9);
    grid.EnsureVisible(2, 9);
    ASSERT_GT(grid.ScrollPos(SB_HORZ), 0);
    Key(Qt::Key_Tab);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 1));
    EXPECT_EQ(grid.ScrollPos(SB_HORZ), 0);
    EXPECT_TRUE(grid.IsCellSelected(3, 1));
    Key(Qt::Key_Tab, Qt::ShiftModifier); // and back to the end of the row above
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 9));

    // A row whose last columns are hidden ends at its last shown column.
    grid.SetColumnWidth(9, 0);
    grid.SetFocusCell(2, 8);
    Key(Qt::Key_Tab);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(3, 1));

    grid.SetFocusCell(29, 8); // the last cell of all
    Key(Qt::Key_Tab);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(29, 8));
    grid.SetFocusCell(1, 1); // and the first
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1));
}

TEST_F(GridInput, PageKeysMoveTheFocusWithTheViewAndStopAtTheEnds) {
    grid.SetFocusCell(1, 1);
    Key(Qt::Key_PageDown);
    const int moved = grid.GetTopleftNonFixedCell().row - 1;
    ASSERT_GT(moved, 0);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1 + moved, 1));
    for (int i = 0; i < 20; i++)
        Key(Qt::Key_PageDown);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(29, 1)); // the view stopped: the focus goes to the last row
    Key(Qt::Key_PageUp);
    EXPECT_LT(grid.GetFocusCell().row, 29);
    for (int i = 0; i < 20; i++)
        Key(Qt::Key_PageUp);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1));

    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(29, 9));
    EXPECT_TRUE(grid.IsCellVisible(29, 9));
    Key(Qt::Key_Home);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(29, 1));
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 1));
    EXPECT_EQ(grid.GetTopleftNonFixedCell(), CCellID(1, 1));
}

TEST_F(GridInput, ClicksAndKeysAskForEditsOnlyWhereTheyShould) {
    Click(2, 2);
    EXPECT_TRUE(grid.edits.empty()); // not yet the focus cell when pressed
    Click(2, 2);                     // on the focus cell's text: the editor opens at the release
    EXPECT_EQ(grid.edits, Strings{"2 2 1"});
    Key(Qt::Key_F2);
    Key(Qt::Key_A);
    Key(Qt::Key_Escape);
    Key(Qt::Key_Tab); // moves instead
    EXPECT_EQ(grid.edits, (Strings{"2 2 1", "2 2 1", "2 2 97"}));

    // Pressing on the focus cell's text and moving away clears the selection and the focus, and opens nothing.
    grid.edits.clear();
    Click(3, 3);
    owner.seen.clear();
    Press(Centre(3, 3));
    EXPECT_EQ(grid.MouseMode(), GMS_PENDING_EDIT);
    Move(Centre(4, 4));
    Release(Centre(4, 4));
    EXPECT_TRUE(grid.edits.empty());
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(-1, -1));
    EXPECT_EQ(owner.seen, (Strings{"click 3 3", "selchanging 3 3", "selchanged -1 -1"}));
}

TEST_F(GridInput, ADividerDragStopsAtAWidthOfOneAndDraggedBackChangesNothing) {
    grid.UpdateWindow();
    const COLORREF before = PixelAt(grid, 79, 50);
    Press(CPoint(79, 10)); // the right edge of column 1, in the fixed row
    EXPECT_EQ(grid.MouseMode(), GMS_SIZING_COLUMN);
    EXPECT_EQ(PixelAt(grid, 79, 50), before ^ 0xFFFFFF); // the tracking line is drawn inverted
    Move(CPoint(10, 10));                                // confined right of the column's first pixel
    EXPECT_EQ(PixelAt(grid, 79, 50), before);
    Release(CPoint(10, 10));
    EXPECT_EQ(grid.GetColumnWidth(1), 1);
    EXPECT_EQ(grid.MouseMode(), GMS_IDLE);
    RECT clip;
    GetClipCursor(&clip);
    EXPECT_EQ(CRect(clip), CRect(-32768, -32768, 32767, 32767)); // free again

    Press(CPoint(40, 10)); // just right of a divider: the column before it, released where it was taken
    Release(CPoint(40, 10));
    EXPECT_EQ(grid.GetColumnWidth(1), 1);
    EXPECT_EQ(grid.GetColumnWidth(0), 40);

    // Rows the same way, in the fixed column.
    Press(CPoint(10, 39));
    Move(CPoint(10, 70));
    Release(CPoint(10, 70));
    EXPECT_EQ(grid.GetRowHeight(1), 50);
}

TEST_F(GridInput, AHiddenColumnIsDraggedOpenAtTheDividerAfterIt) {
    grid.SetColumnWidth(2, 0); // column 3 follows column 1 at x = 80
    Press(CPoint(80, 10));
    Move(CPoint(110, 10));
    Release(CPoint(110, 10));
    EXPECT_EQ(grid.GetColumnWidth(2), 30);
    EXPECT_EQ(grid.GetColumnWidth(1), 40);
    EXPECT_EQ(grid.GetColumnWidth(3), 40);
}

TEST_F(GridInput, NarrowColumnsAtTheEdgesAreSizedThemselves) {
    // A first column narrower than the grab zone has no column before it to size.
    grid.SetColumnWidth(0, 2);
    Press(CPoint(1, 10));
    Release(CPoint(30, 10));
    EXPECT_EQ(grid.GetColumnWidth(0), 30);
    EXPECT_EQ(grid.MouseMode(), GMS_IDLE);

    // A last column narrower than the grab zone is taken at the right edge of the cells.
    grid.SetColumnCount(4);
    grid.SetColumnWidth(0, 40);
    grid.SetColumnWidth(3, 2); // the cells end at x = 122
    Press(CPoint(121, 10));
    Release(CPoint(150, 10));
    EXPECT_EQ(grid.GetColumnWidth(3), 30);
    EXPECT_EQ(grid.GetColumnWidth(2), 40);
}

TEST_F(GridInput, ADoubleClickOnADividerFitsTheColumnToItsText) {
    grid.SetItemText(3, 1, "a text much wider than forty pixels");
    // The first click takes the divider and puts it back; the pointer is over the divider again once the grid
    // lets go of the mouse, before the second click comes.
    Press(CPoint(79, 10));
    Release(CPoint(79, 10));
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid.MouseMode() == GMS_OVER_COLUMN_DIVIDER; }, 1000));
    QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, W(CPoint(79, 10)));
    EXPECT_GT(grid.GetColumnWidth(1), 100);
}

TEST_F(GridInput, LosingTheCaptureInTheMiddleOfAResizeEndsIt) {
    Press(CPoint(79, 10));
    ASSERT_EQ(grid.MouseMode(), GMS_SIZING_COLUMN);
    owner.SetCapture();
    EXPECT_EQ(grid.MouseMode(), GMS_IDLE);
    RECT clip;
    GetClipCursor(&clip);
    EXPECT_EQ(CRect(clip), CRect(-32768, -32768, 32767, 32767));
    ReleaseCapture();
}

TEST_F(GridInput, LosingTheCaptureInTheMiddleOfADragSelectionEndsIt) {
    Press(Centre(2, 2));
    ASSERT_EQ(grid.MouseMode(), GMS_SELECT_CELLS);
    Move(Centre(3, 3));
    owner.seen.clear();
    owner.SetCapture(); // the button will come up over another window
    EXPECT_EQ(grid.MouseMode(), GMS_IDLE);
    EXPECT_EQ(owner.seen, Strings{"selchanged 3 3"});
    ReleaseCapture();

    // Moves without the button select nothing more, and the next press starts afresh.
    Move(Centre(5, 5));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 2, 3, 3));
    Press(Centre(4, 4));
    Release(Centre(4, 4));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(4, 4, 4, 4));
}

TEST_F(GridInput, DraggingBelowTheCellsScrollsAndExtendsTheSelection) {
    Press(Centre(2, 2));
    EXPECT_EQ(grid.MouseMode(), GMS_SELECT_CELLS);
    // The pointer leaves the window downwards; the timer goes on without further moves.
    CPoint below(100, 400);
    grid.ClientToScreen(&below);
    SetCursorPosHandler([below] { return POINT{below.x, below.y}; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid.GetTopleftNonFixedCell().row > 4; }, 3000));
    EXPECT_GT(grid.GetSelectedCellRange().GetMaxRow(), 5);
    EXPECT_EQ(grid.GetSelectedCellRange().GetMinRow(), 2);
    EXPECT_GT(grid.GetFocusCell().row, 5);

    Release(CPoint(100, 50)); // the release is what stops it
    const CCellID stopped = grid.GetTopleftNonFixedCell();
    QTest::qWait(100);
    EXPECT_EQ(grid.GetTopleftNonFixedCell(), stopped);
}

TEST_F(GridInput, DraggingPastTheLastCellsCornerSelectsUpToTheCellTheFocusReaches) {
    // Scrolled to the end the cells stop short of the client's edges (283 is no multiple of 20, nor 383 of 40),
    // so the edge the timer looks at lies in no cell.
    Press(Centre(2, 2));
    CPoint beyond(600, 500);
    grid.ClientToScreen(&beyond);
    SetCursorPosHandler([beyond] { return POINT{beyond.x, beyond.y}; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid.GetFocusCell() == CCellID(29, 9); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return grid.GetSelectedCellRange() == CCellRange(2, 2, 29, 9); }, 1000));
    Release(CPoint(100, 50));
}
