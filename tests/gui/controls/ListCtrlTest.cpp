#include "platform/gui/dialogs/Dialog.h"

#include <QHeaderView>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

const DlgTemplate kMatrixSetting[] = {
    {9501,
     "Matrix Setting",
     420,
     200,
     WS_POPUP | WS_CAPTION,
     {{1101, DlgItemKind::ListView, "", 10, 10, 400, 150,
       WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER}}},
};

struct Change {
    int item;
    UINT oldState;
    UINT newState;
};

class ListDialog : public CDialog {
public:
    ListDialog() : CDialog(9501) {
        OnNotifyCode(1101, LVN_ITEMCHANGED, [this](NMHDR* header, LRESULT* result) {
            auto* nm = reinterpret_cast<NMLISTVIEW*>(header);
            changes.push_back({nm->iItem, nm->uOldState, nm->uNewState});
            EXPECT_EQ(nm->uChanged, LVIF_STATE);
            if (clearOnChange)
                m_list.DeleteAllItems();
            *result = 0;
        });
    }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, 1101, m_list); }

    CListCtrl m_list;
    std::vector<Change> changes;
    bool clearOnChange = false;
};

class ListCtrlTest : public testing::Test {
protected:
    void SetUp() override {
        CResourceTable::AddDialogs(kMatrixSetting);
        ASSERT_TRUE(m_dialog.Create(9501));
        CListCtrl& list = m_dialog.m_list;
        list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        list.InsertColumn(0, "NUM", LVCFMT_CENTER, 60);
        list.InsertColumn(1, "NAME", LVCFMT_CENTER, 100);
        list.InsertColumn(2, "TYPE", LVCFMT_CENTER, 80);
        for (int i = 0; i < 3; ++i) {
            CString number;
            number.Format("%d", i + 1);
            ASSERT_EQ(list.InsertItem(i, number), i);
        }
        list.SetItemText(0, 1, "M1");
        list.SetItemText(1, 1, "\xBE\xD8\xD5\xF3"); // GBK
        list.SetItemText(2, 1, "M3");
    }

    ListDialog m_dialog;
};

} // namespace

TEST_F(ListCtrlTest, ColumnsAndRowsHoldTheirTextsAndFillingReportsNoStateChange) {
    CListCtrl& list = m_dialog.m_list;
    EXPECT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(list.GetItemText(1, 1), "\xBE\xD8\xD5\xF3");
    EXPECT_EQ(list.GetItemText(1, 0), "2");
    EXPECT_EQ(list.GetItemText(5, 1), "");
    EXPECT_FALSE(list.SetItemText(0, 7, "x"));
    EXPECT_EQ(list.GetColumnWidth(1), 100);
    EXPECT_EQ(list.GetExtendedStyle(), LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    auto* tree = qobject_cast<QTreeWidget*>(list.GetHostWidget());
    EXPECT_EQ(tree->headerItem()->text(2), "TYPE");
    EXPECT_TRUE(m_dialog.changes.empty());
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), -1);
}

TEST_F(ListCtrlTest, SelectingByProgramAndByClickReportsTheLosingRowThenTheGainingRow) {
    CListCtrl& list = m_dialog.m_list;
    list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ASSERT_EQ(m_dialog.changes.size(), 1u);
    EXPECT_EQ(m_dialog.changes[0].item, 0);
    EXPECT_EQ(m_dialog.changes[0].newState, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(list.GetItemState(0, LVIS_SELECTED), LVIS_SELECTED);

    m_dialog.changes.clear();
    auto* tree = qobject_cast<QTreeWidget*>(list.GetHostWidget());
    const QRect row = tree->visualItemRect(tree->topLevelItem(2));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
    ASSERT_EQ(m_dialog.changes.size(), 2u);
    EXPECT_EQ(m_dialog.changes[0].item, 0);
    EXPECT_EQ(m_dialog.changes[0].newState, 0u);
    EXPECT_EQ(m_dialog.changes[1].item, 2);
    EXPECT_EQ(m_dialog.changes[1].newState, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 2);
    EXPECT_EQ(list.GetSelectedCount(), 1);

    // Setting the same state again reports nothing.
    m_dialog.changes.clear();
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_TRUE(m_dialog.changes.empty());

    // Rows put in and taken out around the selected one move it along without a word; a click then reports it.
    list.InsertItem(0, "0");
    EXPECT_TRUE(list.DeleteItem(1));
    list.InsertItem(4, "4");
    EXPECT_TRUE(m_dialog.changes.empty());
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 2);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                      tree->visualItemRect(tree->topLevelItem(0)).center());
    ASSERT_EQ(m_dialog.changes.size(), 2u);
    EXPECT_EQ(m_dialog.changes[0].item, 2);
    EXPECT_EQ(m_dialog.changes[1].item, 0);
}

TEST_F(ListCtrlTest, TheSelectedRowOfAListWithGridLinesShowsItsTextInTheHighlightColours) {
    m_dialog.m_list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    auto* tree = qobject_cast<QTreeWidget*>(m_dialog.m_list.GetHostWidget());
    const QRect row = tree->visualItemRect(tree->topLevelItem(1));
    const QImage image = tree->viewport()->grab(row).toImage();
    int highlight = 0;
    int text = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            highlight += c == tree->palette().color(QPalette::Highlight);
            // The text, smoothed at its edges, stands out light on the dark highlight.
            text += qGray(c.rgb()) > 160;
        }
    EXPECT_GT(highlight, image.width() * image.height() / 2);
    EXPECT_GT(text, 20);
}

TEST_F(ListCtrlTest, AHandlerThatEmptiesTheListDuringANotificationIsSafe) {
    m_dialog.m_list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_dialog.clearOnChange = true;
    m_dialog.m_list.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(m_dialog.m_list.GetItemCount(), 0);
    EXPECT_EQ(m_dialog.changes.size(), 2u); // the row that lost its state; the gaining row was gone
    EXPECT_FALSE(m_dialog.m_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED));
}
