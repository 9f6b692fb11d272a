#include "platform/gui/dialogs/Dialog.h"
#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Icon.h"
#include "platform/gui/window/HostWidget.h"
#include "platform/gui/window/PaintDC.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const DlgTemplate kControls[] = {
    {9601,
     "Controls",
     320,
     200,
     WS_POPUP | WS_CAPTION,
     {
         {1037, DlgItemKind::PushButton, "HDMI", 10, 10, 80, 30, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
         {1002, DlgItemKind::Custom, "", 100, 10, 200, 120, WS_VISIBLE | WS_TABSTOP | WS_BORDER, {}, "GridCtrlWnd"},
         {1103, DlgItemKind::Edit, "", 10, 150, 120, 22, WS_VISIBLE | WS_TABSTOP},
     }},
};

// Paints its whole face in one colour while pressed, another while not, as the skinned buttons draw themselves.
class FaceButton : public CButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT item) override {
        states.push_back(item->itemState);
        CDC* dc = CDC::FromHandle(item->hDC);
        dc->FillSolidRect(&item->rcItem, (item->itemState & ODS_SELECTED) ? RGB(255, 0, 0) : RGB(0, 0, 255));
        rect = item->rcItem;
    }
    std::vector<UINT> states;
    CRect rect;
};

// A window that takes over a dialog's place holder, as the grid does.
class TakeOver : public CWnd {
public:
    void OnPaint() override {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, RGB(0, 128, 0));
        ++paints;
    }
    int paints = 0;
};

class ControlsTest : public testing::Test {
protected:
    void SetUp() override {
        CResourceTable::AddDialogs(kControls);
        ASSERT_TRUE(m_dialog.Create(9601));
    }
    CDialog m_dialog{9601};
};

} // namespace

TEST_F(ControlsTest, AnOwnerDrawnButtonPaintsItsOwnFaceAndStillClicks) {
    FaceButton button;
    ASSERT_TRUE(button.SubclassDlgItem(1037, &m_dialog));
    button.ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(button.GetButtonType() & BS_TYPEMASK, BS_OWNERDRAW);
    m_dialog.ShowWindow(SW_SHOW);
    QWidget* widget = button.GetHostWidget();
    QImage face = widget->grab().toImage();
    EXPECT_EQ(face.pixelColor(40, 15), QColor(0, 0, 255));
    EXPECT_EQ(button.rect, CRect(0, 0, 80, 30));

    button.SetState(TRUE); // held down
    face = widget->grab().toImage();
    EXPECT_EQ(face.pixelColor(40, 15), QColor(255, 0, 0));
    ASSERT_FALSE(button.states.empty());
    EXPECT_TRUE(button.states.back() & ODS_SELECTED);
    button.SetState(FALSE);

    button.EnableWindow(FALSE);
    widget->grab();
    EXPECT_TRUE(button.states.back() & ODS_DISABLED);
}

// Its drawing is copied to the screen by the paint that asked for it; asking for another paint from there kept the
// program painting the button for ever.
TEST_F(ControlsTest, AnOwnerDrawnButtonOnScreenIsPaintedOnceAndThenLeftAlone) {
    FaceButton button;
    ASSERT_TRUE(button.SubclassDlgItem(1037, &m_dialog));
    button.ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    m_dialog.ShowWindow(SW_SHOW);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_dialog.GetHostWidget()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !button.states.empty(); }));
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
    const size_t painted = button.states.size();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(button.states.size(), painted);
}

// The parent hears of the drawing first: its default hands it to the button, an override of its own replaces it.
TEST(OwnerDrawnButton, TheParentIsAskedToDrawAndItsDefaultHandsItBack) {
    class Parent : public CDialog {
    public:
        Parent() : CDialog(9601) {}
        void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT item) override {
            asked.push_back(nIDCtl);
            if (paintsItself)
                CDC::FromHandle(item->hDC)->FillSolidRect(&item->rcItem, RGB(0, 255, 0));
            else
                CDialog::OnDrawItem(nIDCtl, item);
        }
        std::vector<int> asked;
        bool paintsItself = false;
    };
    CResourceTable::AddDialogs(kControls);
    Parent dialog;
    ASSERT_TRUE(dialog.Create(9601));
    FaceButton button;
    ASSERT_TRUE(button.SubclassDlgItem(1037, &dialog));
    button.ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    dialog.ShowWindow(SW_SHOW);
    QWidget* widget = button.GetHostWidget();

    EXPECT_EQ(widget->grab().toImage().pixelColor(40, 15), QColor(0, 0, 255));
    ASSERT_FALSE(dialog.asked.empty());
    EXPECT_EQ(dialog.asked.back(), 1037);
    const size_t drawn = button.states.size();
    EXPECT_GT(drawn, 0u);

    dialog.paintsItself = true;
    EXPECT_EQ(widget->grab().toImage().pixelColor(40, 15), QColor(0, 255, 0));
    EXPECT_EQ(button.states.size(), drawn);
}

TEST_F(ControlsTest, APlaceHolderIsTakenOverWithItsIdAndPlace) {
    CWnd* holder = m_dialog.GetDlgItem(1002);
    ASSERT_NE(holder, nullptr);
    auto* host = dynamic_cast<CHostWidget*>(holder->GetHostWidget());
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->ClassName(), "GridCtrlWnd");

    TakeOver grid;
    ASSERT_TRUE(grid.SubclassDlgItem(1002, &m_dialog));
    EXPECT_EQ(m_dialog.GetDlgItem(1002), &grid);
    CRect rect;
    grid.GetWindowRect(&rect);
    m_dialog.ScreenToClient(&rect);
    EXPECT_EQ(rect, CRect(100, 10, 300, 130));
    CRect client;
    grid.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 198, 118)); // inside its one-pixel border
    m_dialog.ShowWindow(SW_SHOW);
    grid.Invalidate();
    grid.UpdateWindow();
    EXPECT_GT(grid.paints, 0);
}

TEST_F(ControlsTest, AnEditCountsPositionsInGbkBytes) {
    CEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(1103, &m_dialog));
    edit.SetWindowText("\xC7\xBD"
                       "AB"); // "墙AB"
    edit.SetSel(2, 3);
    int start = 0, end = 0;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 3);
    EXPECT_EQ(qobject_cast<QLineEdit*>(edit.GetHostWidget())->selectedText(), "A");
    edit.ReplaceSel("\xC7\xBD");
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, "\xC7\xBD\xC7\xBD"
                    "B");
    edit.SendMessage(EM_SETSEL, 0, -1);
    EXPECT_EQ(edit.GetSel(), static_cast<DWORD>(MAKELONG(0, 5)));
    edit.SetReadOnly(TRUE);
    EXPECT_TRUE(edit.GetStyle() & ES_READONLY);
    EXPECT_TRUE(qobject_cast<QLineEdit*>(edit.GetHostWidget())->isReadOnly());
}

TEST_F(ControlsTest, ControlsMadeByTheProgramCarryTheirIdsAndReportToTheirParent) {
    // An editor made over a cell, as the grid makes its in-place edit, typing a posted character.
    CEdit editor;
    ASSERT_TRUE(
        editor.Create(WS_CHILD | WS_VISIBLE | ES_LEFT | ES_AUTOHSCROLL, CRect(10, 100, 90, 120), &m_dialog, 7000));
    EXPECT_EQ(m_dialog.GetDlgItem(7000), &editor);
    editor.PostMessage(WM_CHAR, 'x', 0);
    QApplication::processEvents();
    CString text;
    editor.GetWindowText(text);
    EXPECT_EQ(text, "x");

    CButton check;
    ASSERT_TRUE(
        check.Create("Increase", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(10, 60, 100, 80), &m_dialog, 7001));
    check.SetCheck(BST_CHECKED);
    EXPECT_EQ(m_dialog.IsDlgButtonChecked(7001), BST_CHECKED);
    EXPECT_FALSE(check.Create("again", WS_CHILD, CRect(0, 0, 1, 1), nullptr, 7002));

    // A plain check box ignores the click's toggle; the program sets it.
    CButton plain;
    ASSERT_TRUE(plain.Create("Plain", WS_CHILD | WS_VISIBLE | BS_CHECKBOX, CRect(10, 80, 100, 100), &m_dialog, 7003));
    m_dialog.ShowWindow(SW_SHOW);
    QTest::mouseClick(plain.GetHostWidget(), Qt::LeftButton);
    EXPECT_EQ(plain.GetCheck(), BST_UNCHECKED);
}

TEST(StaticIcon, AnIconStaticShowsTheRegisteredPictureAndStaysEmptyWithoutOne) {
    QImage picture(32, 32, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    RegisterIconResource(4242, picture);
    static const DlgTemplate about[] = {{9602,
                                         "About",
                                         200,
                                         100,
                                         WS_POPUP | WS_CAPTION,
                                         {
                                             {1, DlgItemKind::Static, "4242", 10, 10, 32, 32, WS_VISIBLE | SS_ICON},
                                             {2, DlgItemKind::Static, "4243", 50, 10, 32, 32, WS_VISIBLE | SS_ICON},
                                         }}};
    CResourceTable::AddDialogs(about);
    CDialog dialog(9602);
    ASSERT_TRUE(dialog.Create(9602));
    auto* shown = qobject_cast<QLabel*>(dialog.GetDlgItem(1)->GetHostWidget());
    auto* missing = qobject_cast<QLabel*>(dialog.GetDlgItem(2)->GetHostWidget());
    ASSERT_TRUE(shown && missing);
    EXPECT_EQ(shown->pixmap().size(), QSize(32, 32));
    EXPECT_TRUE(missing->pixmap().isNull());
    EXPECT_TRUE(missing->text().isEmpty());
}

TEST(GroupBox, AGroupBoxAroundControlsDoesNotTakeTheirClicks) {
    static const DlgTemplate framed[] = {
        {9603,
         "Framed",
         200,
         120,
         WS_POPUP | WS_CAPTION,
         {
             {1082, DlgItemKind::PushButton, "Set", 20, 30, 60, 24, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
             {-1, DlgItemKind::GroupBox, "Output Map", 5, 5, 190, 110, WS_VISIBLE | BS_GROUPBOX},
         }}};
    CResourceTable::AddDialogs(framed);
    int clicks = 0;
    class Framed : public CDialog {
    public:
        explicit Framed(int& clicks) : CDialog(9603) {
            OnCommandId(1082, [&clicks]() { ++clicks; });
        }
    } dialog(clicks);
    ASSERT_TRUE(dialog.Create(9603));
    dialog.ShowWindow(SW_SHOW);
    QWidget* host = dialog.GetHostWidget();
    QWidget* hit = host->childAt(50, 42);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit, dialog.GetDlgItem(1082)->GetHostWidget());
    QTest::mouseClick(hit, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}
