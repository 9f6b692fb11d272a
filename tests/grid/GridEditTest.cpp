#include "GridTestSupport.h"

#include "grid/InPlaceEdit.h"

#include "platform/gui/draw/Font.h"
#include "platform/gui/window/ClientDC.h"
#include "tests/support/PointerMove.h"

#include <QInputMethodEvent>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// Eight rows and five columns of 60 x 20 pixels, one fixed row and column, in an active 400 x 200 window (no
// bars), owned by a window that records the notifications and may veto edits. Cell (r, c) starts at
// (60 c, 20 r); every cell holds "old".
class GridEditing : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(owner.Create());
        SizeAll(grid, 60, 20);
        for (int row = 1; row < grid.GetRowCount(); row++)
            for (int col = 1; col < grid.GetColumnCount(); col++)
                grid.SetItemText(row, col, "old");
        grid.SetModified(FALSE);
        grid.openEditors = true;
        ASSERT_TRUE(CreateGridWindow(grid, 400, 200));
        grid.SetOwner(&owner);
        widget = grid.GetHostWidget();
        widget->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(widget));
        grid.SetFocus();
    }

    // Keys go where the keyboard focus is, as a user's keys do.
    void Key(Qt::Key key, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(widget->windowHandle(), key, m); }
    void Type(char c) { QTest::keyClick(widget->windowHandle(), c); }
    void Focus(int row, int col) {
        grid.SetFocusCell(row, col);
        grid.SetSelectedRange(row, col, row, col);
    }
    void Click(int row, int col) {
        const QPoint at(60 * col + 30 + 2, 20 * row + 10 + 2); // the client edge is 2 pixels
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
    }
    CInPlaceEdit* Editor(int row, int col) {
        CGridCellBase* cell = grid.GetCell(row, col);
        return cell ? dynamic_cast<CInPlaceEdit*>(cell->GetEditWnd()) : nullptr;
    }
    std::string EditorText(int row, int col) {
        CString text;
        if (CInPlaceEdit* editor = Editor(row, col))
            editor->GetWindowText(text);
        return text.Str();
    }
    // Waits for the character that opened an editor, which reaches it posted.
    bool EditorShows(int row, int col, const std::string& text) {
        return QTest::qWaitFor([&] { return EditorText(row, col) == text; }, 2000);
    }
    std::string Text(int row, int col) { return grid.GetItemText(row, col).Str(); }
    Strings Edits() {
        Strings edits;
        for (const std::string& seen : owner.seen)
            if (seen.find("edit") != std::string::npos)
                edits.push_back(seen);
        return edits;
    }

    GridOwner owner;
    TestGrid grid{8, 5, 1, 1};
    QWidget* widget = nullptr;
};

} // namespace

TEST_F(GridEditing, ATypedLetterReplacesTheTextAndEnterKeepsIt) {
    Focus(2, 2);
    Type('x');
    ASSERT_TRUE(EditorShows(2, 2, "x"));
    EXPECT_TRUE(grid.GetCell(2, 2)->IsEditing());
    Type('y');
    EXPECT_EQ(EditorText(2, 2), "xy");
    Key(Qt::Key_Return);

    EXPECT_EQ(Editor(2, 2), nullptr);
    EXPECT_FALSE(grid.GetCell(2, 2)->IsEditing());
    EXPECT_EQ(Text(2, 2), "xy");
    EXPECT_TRUE(grid.GetItemState(2, 2) & GCS_MODIFIED);
    EXPECT_TRUE(grid.GetModified());
    EXPECT_EQ(Edits(), (Strings{"beginedit 2 2", "endedit 2 2"}));
    // Enter ends editing there: the focus stays, and the grid has the keyboard again.
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 2));
    EXPECT_EQ(CWnd::GetFocus(), &grid);
}

TEST_F(GridEditing, EscapeRestoresTheTextWithoutAskingTheOwner) {
    Focus(3, 1);
    Type('z');
    ASSERT_TRUE(EditorShows(3, 1, "z"));
    Key(Qt::Key_Escape);
    EXPECT_EQ(Editor(3, 1), nullptr);
    EXPECT_EQ(Text(3, 1), "old");
    EXPECT_FALSE(grid.GetModified());
    EXPECT_EQ(Edits(), Strings{"beginedit 3 1"});
    EXPECT_EQ(grid.edits.size(), 1u); // editing does not move on
}

TEST_F(GridEditing, AClickedEditKeepsTheTextAndItsArrowsMoveTheCaretUntilCtrlIsHeld) {
    Focus(2, 2);
    Click(2, 2); // on the focus cell's text: the editor opens when the button comes up
    ASSERT_NE(Editor(2, 2), nullptr);
    EXPECT_EQ(EditorText(2, 2), "old");
    int start = -1, end = -1;
    Editor(2, 2)->GetSel(start, end);
    EXPECT_EQ(start, 3);
    EXPECT_EQ(end, 3);

    Key(Qt::Key_Left);
    ASSERT_NE(Editor(2, 2), nullptr);
    Editor(2, 2)->GetSel(start, end);
    EXPECT_EQ(start, 2);

    // With Ctrl the arrow ends the edit, the grid moves the focus, and the next cell opens with its text selected.
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Editor(2, 2), nullptr);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 3));
    ASSERT_NE(Editor(2, 3), nullptr);
    Editor(2, 3)->GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 3);
    // There the keyboard started the edit: a plain arrow ends it.
    Key(Qt::Key_Down);
    EXPECT_EQ(Editor(2, 3), nullptr);
    EXPECT_NE(Editor(3, 3), nullptr);
    EXPECT_EQ(Text(2, 2), "old"); // nothing was changed, so nothing was written
    EXPECT_FALSE(grid.GetModified());
}

TEST_F(GridEditing, TabGoesOnEditingInTheNextCellAndWrapsToTheNextRow) {
    Focus(1, 3);
    Type('a');
    ASSERT_TRUE(EditorShows(1, 3, "a"));
    Key(Qt::Key_Tab);
    EXPECT_EQ(Text(1, 3), "a");
    ASSERT_NE(Editor(1, 4), nullptr);
    Type('b');
    ASSERT_TRUE(EditorShows(1, 4, "b"));
    Key(Qt::Key_Tab); // the last column: the grid's Tab goes on to the next row
    EXPECT_EQ(Text(1, 4), "b");
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 1));
    EXPECT_NE(Editor(2, 1), nullptr);
}

TEST_F(GridEditing, AVetoedEditLeavesTheCellAndTheGridUnmodified) {
    grid.SetSortColumn(2);
    owner.endEditAnswer = -1;
    Focus(2, 2);
    Type('n');
    ASSERT_TRUE(EditorShows(2, 2, "n"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(2, 2), "old");
    EXPECT_FALSE(grid.GetItemState(2, 2) & GCS_MODIFIED);
    EXPECT_FALSE(grid.GetModified());
    EXPECT_EQ(grid.GetSortColumn(), 2);
    EXPECT_FALSE(grid.GetCell(2, 2)->IsEditing());

    // A veto of the start opens no editor; a read-only cell opens none either, and asks nobody.
    owner.beginEditAnswer = -1;
    Type('q');
    EXPECT_EQ(Editor(2, 2), nullptr);
    owner.beginEditAnswer = 0;
    owner.seen.clear();
    grid.SetItemState(2, 2, grid.GetItemState(2, 2) | GCS_READONLY);
    Type('q');
    EXPECT_EQ(Editor(2, 2), nullptr);
    EXPECT_TRUE(Edits().empty());
}

TEST_F(GridEditing, TheEditorWidensAsItsTextGrowsUpToTheGridsRightEdge) {
    grid.SetColumnWidth(3, 200); // column 3 now ends at x = 379; the client ends at 400
    Focus(2, 2);
    Type('w');
    ASSERT_TRUE(EditorShows(2, 2, "w"));
    CRect before;
    Editor(2, 2)->GetWindowRect(&before);
    for (int i = 0; i < 8; i++)
        Type('w');
    CRect widened;
    Editor(2, 2)->GetWindowRect(&widened);
    EXPECT_GT(widened.Width(), before.Width());
    EXPECT_LT(widened.right, before.left + 400);

    for (int i = 0; i < 60; i++)
        Type('w');
    CRect capped;
    Editor(2, 2)->GetWindowRect(&capped);
    grid.ScreenToClient(&capped);
    EXPECT_EQ(capped.right, 400);
    EXPECT_EQ(EditorText(2, 2), std::string(69, 'w'));
}

TEST_F(GridEditing, AChineseCharacterFromTheInputMethodOpensTheEditorWithIt) {
    Focus(4, 4);
    QInputMethodEvent input;
    input.setCommitString(QString::fromUtf8("中"));
    QApplication::sendEvent(widget, &input);
    ASSERT_TRUE(EditorShows(4, 4, "\xD6\xD0"));
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(4, 4), "\xD6\xD0");
}

TEST_F(GridEditing, AnEditorThatCannotBeMadeLeavesNoCellInEditing) {
    TestGrid windowless(3, 3, 1, 1);
    CGridCellBase* cell = windowless.GetCell(1, 1);
    EXPECT_FALSE(cell->Edit(1, 1, CRect(0, 0, 50, 20), CPoint(-1, -1), IDC_INPLACE_CONTROL, 'a'));
    EXPECT_FALSE(cell->IsEditing());
    EXPECT_EQ(cell->GetEditWnd(), nullptr);
}

TEST_F(GridEditing, AnEditorStillOpenWhenTheGridGoesAwayIsTidiedUp) {
    auto* other = new TestGrid(4, 4, 1, 1);
    other->openEditors = true;
    SizeAll(*other, 60, 20);
    ASSERT_TRUE(CreateGridWindow(*other, 300, 100));
    other->SetFocusCell(1, 1);
    other->SetFocus();
    other->SendMessage(WM_CHAR, 'k');
    ASSERT_TRUE(QTest::qWaitFor([&] { return other->GetCell(1, 1)->IsEditing(); }));
    delete other; // the sanitizers watch the editor's end
    QTest::qWait(10);
}

// ---- Title tips ------------------------------------------------------------------------------------------------

namespace {

// The width a title tip needs for a text: the text with a blank either side, in the cells' font.
int TipWidth(CGridCtrl& grid, const char* text) {
    CFont font;
    font.CreateFontIndirect(grid.GetDefaultCell(FALSE, FALSE)->GetFont());
    CClientDC dc(&grid);
    CFont* old = dc.SelectObject(&font);
    const int width = dc.GetTextExtent(CString(" ") + text + " ").cx;
    dc.SelectObject(old);
    return width;
}

} // namespace

TEST_F(GridEditing, ATipShowsOnlyForATextWiderThanItsCellAndGoesWhenThePointerLeaves) {
    grid.SetItemText(2, 2, "a long text");
    const int width = TipWidth(grid, "a long text");
    // The text rectangle of a cell is its width less one pixel (right edges are inclusive).
    grid.SetColumnWidth(2, width + 1);
    ASSERT_TRUE(MovePointer(widget, QPoint(122 + 10, 42 + 10)));
    QTest::qWait(20);
    EXPECT_FALSE(grid.TitleTip().IsWindowVisible());

    grid.SetColumnWidth(2, width);
    ASSERT_TRUE(MovePointer(widget, QPoint(122 + 12, 42 + 10)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid.TitleTip().IsWindowVisible() != FALSE; }, 2000));
    CRect tip;
    grid.TitleTip().GetWindowRect(&tip);
    grid.ScreenToClient(&tip);
    EXPECT_EQ(tip.TopLeft(), CPoint(120, 40));
    EXPECT_EQ(tip.Width(), width);
    EXPECT_EQ(CWnd::GetCapture(), &grid.TitleTip());

    // Inside the cell it stays; one cell down it goes, and the grid hears the move.
    ASSERT_TRUE(MovePointer(widget, QPoint(122 + 20, 42 + 15)));
    EXPECT_TRUE(grid.TitleTip().IsWindowVisible());
    ASSERT_TRUE(MovePointer(widget, QPoint(122 + 20, 62 + 10)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !grid.TitleTip().IsWindowVisible(); }, 2000));
    EXPECT_NE(CWnd::GetCapture(), &grid.TitleTip());

    // A grid with tips off shows none.
    grid.EnableTitleTips(FALSE);
    ASSERT_TRUE(MovePointer(widget, QPoint(122 + 12, 42 + 10)));
    QTest::qWait(20);
    EXPECT_FALSE(grid.TitleTip().IsWindowVisible());
}

TEST_F(GridEditing, ADoubleClickOnATipReachesTheCellBelow) {
    grid.SetItemText(3, 1, "a text far too long for its cell");
    grid.openEditors = false;
    const QPoint at(2 + 60 + 15, 2 + 60 + 10);
    ASSERT_TRUE(MovePointer(widget, at));
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid.TitleTip().IsWindowVisible() != FALSE; }, 2000));

    // Each press lands on the tip, which hides and hands it on; the tip itself tells the second press is a double
    // click.
    owner.seen.clear();
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_FALSE(grid.TitleTip().IsWindowVisible());
    // The press reaches the grid posted, ahead of the release the window system delivers later.
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid.GetFocusCell() == CCellID(3, 1); }, 2000));
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, at);
    // Released, the grid hears the pointer again and shows the tip again.
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid.TitleTip().IsWindowVisible() != FALSE; }, 2000));
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !owner.seen.empty() && owner.seen.back() == "dblclk 3 1"; }, 2000));
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_FALSE(grid.TitleTip().IsWindowVisible() && CWnd::GetCapture() != &grid.TitleTip());
}
