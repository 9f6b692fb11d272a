#include "GridTestSupport.h"

#include "grid/InPlaceEdit.h"

#include "platform/gui/data/OleDataObject.h"
#include "platform/gui/data/OleDataSource.h"
#include "platform/gui/draw/ImageList.h"
#include "platform/gui/frame/FrameworkIds.h"
#include "platform/gui/window/CmdTarget.h"
#include "tests/support/DragDriver.h"

#include <QMimeData>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using Strings = std::vector<std::string>;

// What the edit commands' menu items would show.
class CommandState : public CCmdUI {
public:
    explicit CommandState(UINT id) { m_nID = id; }
    void Enable(BOOL bOn) override {
        enabled = bOn != FALSE;
        m_bEnableChanged = TRUE;
    }
    bool enabled = false;
};

// Six rows and five columns of 50 x 20 pixels, one fixed row and column, in an active window; cell (r, c) holds
// "rRcC" and starts at (50 c, 20 r).
class GridClipboard : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(owner.Create());
        Fill(grid);
        ASSERT_TRUE(CreateGridWindow(grid, 300, 150));
        grid.SetOwner(&owner);
        widget = grid.GetHostWidget();
        widget->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(widget));
        grid.SetFocus();
    }
    void TearDown() override { COleDataSource::SetDragDropLoop(nullptr); }

    static void Fill(CGridCtrl& g) {
        SizeAll(g, 50, 20);
        for (int row = 1; row < g.GetRowCount(); row++)
            for (int col = 1; col < g.GetColumnCount(); col++)
                g.SetItemText(row, col, ("r" + std::to_string(row) + "c" + std::to_string(col)).c_str());
        g.SetModified(FALSE);
    }
    void Select(int r1, int c1, int r2, int c2) {
        grid.SetFocusCell(r2, c2);
        grid.SetSelectedRange(r1, c1, r2, c2);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(widget->windowHandle(), key, m); }
    bool Enabled(UINT id) {
        CommandState state(id);
        state.DoUpdate(&grid, TRUE);
        return state.enabled;
    }

    static std::string ClipboardBytes() {
        COleDataObject data;
        if (!data.AttachClipboard())
            return "(empty)";
        HGLOBAL mem = data.GetGlobalData(CF_TEXT);
        if (!mem)
            return "(no text)";
        std::string bytes(static_cast<const char*>(GlobalLock(mem)), GlobalSize(mem));
        GlobalUnlock(mem);
        GlobalFree(mem);
        return bytes;
    }
    static void PutOnClipboard(const std::string& bytes) {
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(mem), bytes.data(), bytes.size());
        GlobalUnlock(mem);
        auto* source = new COleDataSource;
        source->CacheGlobalData(CF_TEXT, mem);
        source->SetClipboard();
    }
    // Pastes a CF_TEXT block as a drop or another program's data would bring it: exactly these bytes.
    BOOL Paste(int row, int col, const std::string& bytes, BOOL select = TRUE) {
        std::unique_ptr<QMimeData> mime(CfTextToMimeData(bytes));
        COleDataObject data;
        data.Attach(mime.get());
        return grid.PasteTextToGrid(row, col, &data, select);
    }
    std::string Text(int row, int col) { return grid.GetItemText(row, col).Str(); }

    GridOwner owner;
    TestGrid grid{6, 5, 1, 1};
    QWidget* widget = nullptr;
};

} // namespace

TEST_F(GridClipboard, ACopyIsTabSeparatedWithCrLfBetweenRowsAndLeavesHiddenRowsAndColumnsOut) {
    EXPECT_FALSE(Enabled(ID_EDIT_COPY));
    Select(1, 1, 4, 3);
    grid.SetRowHeight(2, 0);
    grid.SetItemState(3, 2, grid.GetItemState(3, 2) & ~GCS_SELECTED); // an unselected cell: an empty field
    EXPECT_TRUE(Enabled(ID_EDIT_COPY));
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(ClipboardBytes(), "r1c1\tr1c2\tr1c3\r\nr3c1\t\tr3c3\r\nr4c1\tr4c2\tr4c3\0"s);

    // Hidden last rows and columns leave no separators behind them.
    grid.SetRowHeight(4, 0);
    grid.SetColumnWidth(3, 0);
    grid.SendMessage(WM_COMMAND, ID_EDIT_COPY);
    EXPECT_EQ(ClipboardBytes(), "r1c1\tr1c2\r\nr3c1\t\0"s); // (3, 2) is still unselected
    EXPECT_FALSE(grid.GetModified());
}

TEST_F(GridClipboard, CutEmptiesOnlyTheCellsItCopiedAndTheOwnerMayKeepSome) {
    Select(1, 1, 3, 2);
    grid.SetRowHeight(2, 0);
    owner.vetoedCell = CCellID(3, 2);
    owner.endEditAnswer = -1;
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(ClipboardBytes(), "r1c1\tr1c2\r\nr3c1\tr3c2\0"s);
    EXPECT_EQ(Text(1, 1), "");
    EXPECT_EQ(Text(1, 2), "");
    EXPECT_EQ(Text(3, 1), "");
    EXPECT_EQ(Text(3, 2), "r3c2"); // refused by the owner
    EXPECT_FALSE(grid.GetItemState(3, 2) & GCS_MODIFIED);
    EXPECT_EQ(Text(2, 1), "r2c1"); // hidden, so never copied: not emptied either
    EXPECT_EQ(Text(2, 2), "r2c2");

    // Delete empties the same way; a grid that is not editable empties nothing.
    Select(4, 1, 4, 4);
    grid.SetColumnWidth(3, 0);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Text(4, 1), "");
    EXPECT_EQ(Text(4, 3), "r4c3");
    EXPECT_EQ(Text(4, 4), "");
    grid.SetEditable(FALSE);
    Select(5, 1, 5, 1);
    EXPECT_FALSE(Enabled(ID_EDIT_CUT));
    grid.SendMessage(WM_COMMAND, ID_EDIT_CUT);
    EXPECT_EQ(Text(5, 1), "r5c1");
}

TEST_F(GridClipboard, PastedLinesAndFieldsFillTheCellsFromTheTargetOnAndWhatDoesNotFitIsDropped) {
    // A comma and a tab both separate fields; blanks and the CR before each LF are trimmed.
    EXPECT_TRUE(Paste(1, 1, "a, b\r\n c\td \r\n"));
    EXPECT_EQ(Text(1, 1), "a");
    EXPECT_EQ(Text(1, 2), "b");
    EXPECT_EQ(Text(2, 1), "c");
    EXPECT_EQ(Text(2, 2), "d");
    EXPECT_EQ(Text(3, 1), "r3c1"); // the empty last line takes a row but writes nothing

    // Near the grid's last row and column.
    EXPECT_TRUE(Paste(4, 3, "e,f,g\nh,i\nj"));
    EXPECT_EQ(Text(4, 3), "e");
    EXPECT_EQ(Text(4, 4), "f");
    EXPECT_EQ(Text(5, 3), "h");
    EXPECT_EQ(Text(5, 4), "i");
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(4, 3, 5, 4));
    EXPECT_TRUE(grid.SelectionAgreesWithStates());
    EXPECT_EQ(grid.GetColumnCount(), 5);
    EXPECT_EQ(grid.GetRowCount(), 6);
}

TEST_F(GridClipboard, PastedDataLandsInVisibleCellsOnly) {
    grid.SetRowHeight(2, 0);
    grid.SetColumnWidth(2, 0);
    EXPECT_TRUE(Paste(1, 1, "1,2,3\n4,5,6"));
    EXPECT_EQ(Text(1, 1), "1");
    EXPECT_EQ(Text(1, 3), "2");
    EXPECT_EQ(Text(1, 4), "3");
    EXPECT_EQ(Text(3, 1), "4");
    EXPECT_EQ(Text(3, 3), "5");
    EXPECT_EQ(Text(1, 2), "r1c2");
    EXPECT_EQ(Text(2, 1), "r2c1");
}

TEST_F(GridClipboard, APasteReadsNoFurtherThanItsDataAndKeepsTheSelectionInStep) {
    Select(1, 1, 2, 2);
    // Data without its zero byte, and data that ends early at one.
    EXPECT_TRUE(Paste(1, 1, "x\ty"));
    EXPECT_EQ(Text(1, 1), "x");
    EXPECT_EQ(Text(1, 2), "y");
    EXPECT_EQ(Text(1, 3), "r1c3");
    EXPECT_TRUE(Paste(2, 1, "p\0q,w"s));
    EXPECT_EQ(Text(2, 1), "p");
    EXPECT_EQ(Text(2, 2), "r2c2");

    // Pasting over selected cells deselects them as the grid's state operation does, map included.
    Select(1, 1, 3, 3);
    EXPECT_TRUE(Paste(2, 2, "k", FALSE));
    EXPECT_TRUE(grid.SelectionAgreesWithStates());
    EXPECT_EQ(CountCellsWith(grid, GCS_SELECTED), 0);
    EXPECT_EQ(grid.GetFocusCell(), CCellID());
}

TEST_F(GridClipboard, NothingIsPastedOntoAReadOnlyCellIntoALockedGridOrFromDataWithoutText) {
    grid.SetItemState(1, 1, grid.GetItemState(1, 1) | GCS_READONLY);
    EXPECT_FALSE(Paste(1, 1, "no"));
    EXPECT_EQ(Text(1, 1), "r1c1");
    // A read-only cell inside the pasted block keeps its text; the rest is written.
    EXPECT_TRUE(Paste(1, 2, "u\nv,w"));
    EXPECT_EQ(Text(2, 2), "v");

    QMimeData image;
    image.setImageData(QImage(2, 2, QImage::Format_RGB32));
    COleDataObject data;
    data.Attach(&image);
    EXPECT_FALSE(grid.PasteTextToGrid(3, 3, &data, TRUE));

    grid.SetEditable(FALSE);
    EXPECT_FALSE(Paste(3, 3, "no"));
    EXPECT_EQ(Text(3, 3), "r3c3");
}

TEST_F(GridClipboard, TheEditCommandsAndWhenTheirMenuItemsAreEnabled) {
    PutOnClipboard("one\ttwo"s + '\0');
    EXPECT_FALSE(Enabled(ID_EDIT_PASTE)); // no focus cell
    Select(3, 2, 3, 2);
    EXPECT_TRUE(Enabled(ID_EDIT_PASTE));
    EXPECT_TRUE(Enabled(ID_EDIT_CUT));
    grid.SendMessage(WM_COMMAND, ID_EDIT_PASTE);
    EXPECT_EQ(Text(3, 2), "one");
    EXPECT_EQ(Text(3, 3), "two");
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(3, 2, 3, 3));

    grid.SetItemState(3, 2, grid.GetItemState(3, 2) | GCS_READONLY);
    grid.SetFocusCell(3, 2);
    EXPECT_FALSE(Enabled(ID_EDIT_PASTE));

    EXPECT_TRUE(Enabled(ID_EDIT_SELECT_ALL));
    owner.seen.clear();
    grid.SendMessage(WM_COMMAND, ID_EDIT_SELECT_ALL);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 1, 5, 4));
    EXPECT_EQ(owner.seen.back(), "selchanged 3 2");
    grid.EnableSelection(FALSE);
    EXPECT_FALSE(Enabled(ID_EDIT_SELECT_ALL));
}

TEST_F(GridClipboard, APasteIntoACellBeingEditedGoesIntoItsEditor) {
    grid.openEditors = true;
    Select(2, 2, 2, 2);
    grid.SendMessage(WM_KEYDOWN, VK_F2);
    auto* editor = dynamic_cast<CInPlaceEdit*>(grid.GetCell(2, 2)->GetEditWnd());
    ASSERT_NE(editor, nullptr);
    PutOnClipboard("+more"s + '\0');
    grid.SendMessage(WM_COMMAND, ID_EDIT_PASTE);
    CString text;
    editor->GetWindowText(text);
    EXPECT_EQ(text.Str(), "r2c2+more");
    EXPECT_EQ(Text(2, 2), "r2c2");
    EXPECT_EQ(Text(2, 3), "r2c3");
}

// ---- Drag and drop ---------------------------------------------------------------------------------------------

namespace {

// A second grid beside the first, with the same cells; both take drags.
class GridDragging : public GridClipboard {
protected:
    void SetUp() override {
        GridClipboard::SetUp();
        Fill(target);
        ASSERT_TRUE(
            target.CreateEx(0, kGridWindowClass, "", WS_POPUP | WS_VISIBLE, CRect(400, 0, 704, 154), nullptr, 0));
        target.SetOwner(&owner);
        grid.EnableDragAndDrop();
        target.EnableDragAndDrop();
        ASSERT_TRUE(target.DropTarget().IsRegistered());
        ASSERT_TRUE(grid.DropTarget().IsRegistered());
    }

    // Selects a block, then drags it by its focus cell (the block's last cell) as a hand would: the button goes
    // down on the focus cell's text and the pointer moves; the drag loop delivers it where the driver says.
    void DragBlock(int r1, int c1, int r2, int c2, const DragDriver& driver) {
        Select(r1, c1, r2, c2);
        COleDataSource::SetDragDropLoop(driver);
        const QPoint at(2 + 50 * c2 + 25, 2 + 20 * r2 + 10);
        QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseMove(widget, at + QPoint(5, 0));
        QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, at + QPoint(5, 0));
    }
    // A point of a grid's cell in its widget's coordinates.
    static QPoint Over(int row, int col) { return QPoint(2 + 50 * col + 10, 2 + 20 * row + 10); }
    std::string TargetText(int row, int col) { return target.GetItemText(row, col).Str(); }

    TestGrid target{6, 5, 1, 1};
};

} // namespace

TEST_F(GridDragging, ADragToAnotherGridMovesTheTextAndWithCtrlCopiesIt) {
    QWidget* to = target.GetHostWidget();
    DragBlock(1, 1, 1, 2, DragDriver(to, {Over(3, 3), Over(2, 2)}));
    EXPECT_EQ(TargetText(2, 2), "r1c1");
    EXPECT_EQ(TargetText(2, 3), "r1c2");
    EXPECT_EQ(TargetText(3, 3), "r3c3");
    EXPECT_EQ(Text(1, 1), "");
    EXPECT_EQ(Text(1, 2), "");
    EXPECT_EQ(CountCellsWith(target, GCS_DROPHILITED), 0);
    EXPECT_NE(std::find(owner.seen.begin(), owner.seen.end(), "begindrag 1 1"), owner.seen.end());

    DragBlock(2, 3, 3, 3, DragDriver(to, {Over(4, 1)}, Qt::ControlModifier));
    EXPECT_EQ(TargetText(4, 1), "r2c3");
    EXPECT_EQ(TargetText(5, 1), "r3c3");
    EXPECT_EQ(Text(2, 3), "r2c3");
}

TEST_F(GridDragging, AMoveInsideOneGridEmptiesTheSourceButNotWhatTheDropWroteOverIt) {
    DragBlock(1, 1, 1, 2, DragDriver(widget, {Over(1, 2)}));
    EXPECT_EQ(Text(1, 1), "");
    EXPECT_EQ(Text(1, 2), "r1c1");
    EXPECT_EQ(Text(1, 3), "r1c2");

    DragBlock(3, 1, 3, 1, DragDriver(widget, {Over(5, 4)}));
    EXPECT_EQ(Text(3, 1), "");
    EXPECT_EQ(Text(5, 4), "r3c1");
    EXPECT_EQ(grid.MouseMode(), GMS_IDLE);
}

TEST_F(GridDragging, OnceTheDragIsOverTheSourceGridIsIdleAgain) {
    // The drag loop takes the button's release, so the source hears no button up.
    Select(1, 1, 1, 1);
    COleDataSource::SetDragDropLoop(DragDriver(target.GetHostWidget(), {Over(3, 3)}));
    const QPoint at(2 + 50 + 25, 2 + 20 + 10);
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseMove(widget, at + QPoint(5, 0));
    EXPECT_EQ(TargetText(3, 3), "r1c1");
    EXPECT_EQ(grid.MouseMode(), GMS_IDLE);

    // So the keys act as they do in an idle grid: a move selects, and a typed letter opens an editor.
    grid.openEditors = true;
    Key(Qt::Key_Down);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 1, 2, 1));
    Key(Qt::Key_Q);
    EXPECT_EQ(grid.edits.size(), 1u);
}

TEST_F(GridDragging, DropsGoOnlyWhereTheGridTakesThemAndAHoveringDragNeverScrolls) {
    QWidget* to = target.GetHostWidget();
    target.SetItemState(2, 2, target.GetItemState(2, 2) | GCS_READONLY);
    DragBlock(1, 1, 1, 1, DragDriver(to, {Over(2, 2)}));
    EXPECT_EQ(TargetText(2, 2), "r2c2");
    EXPECT_EQ(Text(1, 1), "r1c1");                       // refused: nothing moved
    DragBlock(1, 1, 1, 1, DragDriver(to, {Over(0, 2)})); // a heading
    EXPECT_EQ(TargetText(0, 2), "");
    EXPECT_EQ(Text(1, 1), "r1c1");

    // The target scrolls (its rows outgrow it) but a drag resting on its bottom edge leaves it where it is.
    target.SetRowCount(40);
    target.SetModified(FALSE);
    DragBlock(1, 1, 1, 1, DragDriver(to, {Over(5, 1), QPoint(80, 140), QPoint(80, 148)}, Qt::NoModifier, false));
    EXPECT_EQ(target.GetTopleftNonFixedCell().row, 1);
    EXPECT_FALSE(target.GetModified());

    // A grid that takes no drags (this program's grids) refuses them all.
    target.EnableDragAndDrop(FALSE);
    DragBlock(1, 1, 1, 1, DragDriver(to, {Over(3, 3)}));
    EXPECT_EQ(TargetText(3, 3), "r3c3");
    EXPECT_EQ(Text(1, 1), "r1c1");

    // Nor does one start: the press and move on the focus cell's text only clear the selection.
    grid.EnableDragAndDrop(FALSE);
    owner.seen.clear();
    DragBlock(1, 1, 1, 2, DragDriver(to, {Over(3, 3)}));
    EXPECT_EQ(std::find(owner.seen.begin(), owner.seen.end(), "begindrag 1 1"), owner.seen.end());
    EXPECT_EQ(CountCellsWith(grid, GCS_SELECTED), 0);
    EXPECT_EQ(TargetText(3, 3), "r3c3");
}

TEST_F(GridDragging, TheDragPictureIsTheFocusCellDrawnAtItsSize) {
    CPoint hotSpot;
    EXPECT_EQ(grid.CreateDragImage(&hotSpot), nullptr); // no focus cell
    Select(2, 2, 2, 2);
    std::unique_ptr<CImageList> picture(grid.CreateDragImage(&hotSpot));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetImageCount(), 1);
    int width = 0, height = 0;
    EXPECT_TRUE(picture->GetIconSize(&width, &height));
    EXPECT_EQ(CPoint(width, height), CPoint(49, 19)); // the inclusive cell rectangle's extent
    EXPECT_EQ(hotSpot, CPoint(49, 19));
}
