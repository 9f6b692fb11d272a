#include "platform/gui/dialogs/Dialog.h"
#include "platform/gui/controls/ComboBox.h"
#include "platform/gui/controls/ListCtrl.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Font.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kList = WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST;

// Two dialogs whose controls share ids, as the program's dialogs do.
const DlgTemplate kDialogs[] = {
    {9001,
     "First",
     240,
     120,
     WS_POPUP | WS_CAPTION | WS_SYSMENU,
     {
         {1, DlgItemKind::PushButton, "Set", 10, 80, 60, 24, kButton | BS_DEFPUSHBUTTON},
         {2, DlgItemKind::PushButton, "Close", 80, 80, 60, 24, kButton},
         {1082, DlgItemKind::PushButton, "Apply", 150, 80, 60, 24, kButton},
         {1086, DlgItemKind::ComboBox, "", 10, 10, 120, 100, kList, {"VGA", "dvi", "DVI-2", "HDMI"}},
         {1103, DlgItemKind::Edit, "name", 10, 40, 120, 22, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL},
         {1104, DlgItemKind::CheckBox, "Use", 140, 40, 80, 22, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX},
     }},
    {9002,
     "Second",
     200,
     100,
     WS_POPUP | WS_CAPTION | WS_SYSMENU,
     {
         {1082, DlgItemKind::Static, "Other", 10, 10, 80, 20, WS_VISIBLE | SS_LEFT},
         {1086, DlgItemKind::Edit, "second", 10, 40, 120, 22, WS_VISIBLE | WS_TABSTOP},
     }},
};

class TestDialog : public CDialog {
public:
    explicit TestDialog(UINT id = 9001, CWnd* parent = nullptr) : CDialog(id, parent) {
        OnCommandId(1082, [this]() { log.push_back("apply"); });
        OnControl(1086, CBN_SELCHANGE, [this]() { log.push_back("selchange"); });
        OnControl(1072, CBN_SELCHANGE, [this]() { log.push_back("scene selchange"); });
        OnControl(1072, CBN_EDITCHANGE, [this]() { log.push_back("scene editchange"); });
    }

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        log.push_back("init");
        if (endInInit)
            EndDialog(77);
        return TRUE;
    }
    void OnOK() override {
        log.push_back("ok");
        if (okEnds)
            CDialog::OnOK();
    }
    void OnCancel() override {
        log.push_back("cancel");
        CDialog::OnCancel();
    }

    std::vector<std::string> log;
    bool endInInit = false;
    bool okEnds = true;
};

class DialogTest : public testing::Test {
protected:
    void SetUp() override { CResourceTable::AddDialogs(kDialogs); }
    void TearDown() override { CDialog::SetModalLoop(nullptr); }
};

QWidget* Item(CDialog& dialog, int id) {
    CWnd* item = dialog.GetDlgItem(id);
    return item ? item->GetHostWidget() : nullptr;
}

void PressKey(QWidget* widget, Qt::Key key) {
    widget->activateWindow();
    widget->setFocus();
    QTest::keyClick(widget, key);
}

} // namespace

TEST_F(DialogTest, ControlsAreFoundByIdWithinTheirOwnDialogOnly) {
    TestDialog first(9001);
    TestDialog second(9002);
    ASSERT_TRUE(first.Create(9001));
    ASSERT_TRUE(second.Create(9002));

    CString text;
    first.GetDlgItemText(1086, text); // a combo with nothing selected
    EXPECT_EQ(text, "");
    second.GetDlgItemText(1086, text);
    EXPECT_EQ(text, "second");
    first.SetDlgItemText(1103, "\xC7\xBD"); // GBK
    first.GetDlgItemText(1103, text);
    EXPECT_EQ(text, "\xC7\xBD");
    EXPECT_EQ(qobject_cast<QLineEdit*>(Item(first, 1103))->text(), QString::fromUtf8("\xE5\xA2\x99"));
    second.GetDlgItemText(1082, text);
    EXPECT_EQ(text, "Other");
    EXPECT_EQ(first.GetDlgItem(4242), nullptr);

    first.CheckDlgButton(1104, BST_CHECKED);
    EXPECT_EQ(first.IsDlgButtonChecked(1104), BST_CHECKED);
    EXPECT_EQ(second.IsDlgButtonChecked(1104), BST_UNCHECKED); // no such control there
    first.GetDlgItem(1082)->EnableWindow(FALSE);
    EXPECT_FALSE(Item(first, 1082)->isEnabled());
    first.GetDlgItem(1103)->ShowWindow(SW_HIDE);
    EXPECT_FALSE(Item(first, 1103)->isVisible());
}

TEST_F(DialogTest, EnterRunsTheHandlerOfIdOneAndEscapeCancels) {
    TestDialog dialog;
    dialog.okEnds = false; // as a dialog whose id 1 applies a setting and stays open
    CDialog::SetModalLoop([](CDialog& d) {
        QWidget* edit = Item(d, 1103);
        PressKey(edit, Qt::Key_Return);
        PressKey(edit, Qt::Key_Return);
        PressKey(edit, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"init", "ok", "ok", "cancel"}));
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(DialogTest, EnterOnAFocusedButtonRunsThatButton) {
    TestDialog dialog;
    CDialog::SetModalLoop([](CDialog& d) {
        QWidget* apply = Item(d, 1082);
        PressKey(apply, Qt::Key_Return);
        QTest::mouseClick(Item(d, 2), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"init", "apply", "cancel"}));
}

TEST_F(DialogTest, EndDialogInsideInitialisationEndsAtOnceWithoutShowing) {
    TestDialog dialog;
    dialog.endInInit = true;
    bool loopRan = false;
    CDialog::SetModalLoop([&](CDialog&) { loopRan = true; });
    EXPECT_EQ(dialog.DoModal(), 77);
    EXPECT_FALSE(loopRan);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"init"}));
}

TEST_F(DialogTest, TheRealModalLoopEndsWithTheButtonThatEndedIt) {
    TestDialog dialog;
    QTimer::singleShot(0, [&]() { QTest::mouseClick(Item(dialog, 1), Qt::LeftButton); });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"init", "ok"}));

    // The same object can run again, keys and all; the close box cancels.
    dialog.log.clear();
    QTimer::singleShot(0, [&]() { PressKey(Item(dialog, 1103), Qt::Key_Return); });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    dialog.log.clear();
    QTimer::singleShot(0, [&]() { dialog.GetHostWidget()->close(); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"init", "cancel"}));
    // A dialog with no table cannot run at all.
    TestDialog missing(4711);
    EXPECT_EQ(missing.DoModal(), -1);
}

// What a real display asks of the window layer at start-up: a main window shown and brought forward, children
// raised over each other, a modal dialog over the main window that runs and returns.
TEST_F(DialogTest, AMainWindowShowsRaisesItsChildrenAndRunsAModalDialogThatReturns) {
    CWnd main;
    ASSERT_TRUE(
        main.CreateEx(0, nullptr, "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(50, 50, 350, 250), nullptr, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.GetHostWidget()));
    CWnd under, over;
    ASSERT_TRUE(under.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 110), &main, 1));
    ASSERT_TRUE(over.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(60, 60, 160, 160), &main, 2));
    auto topAt = [&main](int x, int y) { return main.GetHostWidget()->childAt(QPoint(x, y)); };
    EXPECT_EQ(topAt(80, 80), over.GetHostWidget()); // made later, so on top
    under.BringWindowToTop();
    EXPECT_EQ(topAt(80, 80), under.GetHostWidget());
    over.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(topAt(80, 80), over.GetHostWidget());

    EXPECT_TRUE(main.SetForegroundWindow());
    EXPECT_TRUE(main.SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_TRUE(main.SetWindowPos(&CWnd::wndNoTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));

    TestDialog dialog(9001, &main);
    QTimer::singleShot(0, [&dialog]() {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.GetHostWidget()));
        QTest::mouseClick(Item(dialog, 1), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"init", "ok"}));
    EXPECT_TRUE(main.IsWindowVisible());
}

TEST_F(DialogTest, ComboPrefixSelectionIgnoresCaseAndTellsNobody) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(9001));
    CComboBox combo;
    combo.SubclassDlgItem(1086, &dialog);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR); // filled from the table, nothing chosen yet

    EXPECT_EQ(combo.SelectString(-1, "dv"), 1);
    EXPECT_EQ(combo.SelectString(1, "DV"), 2); // the search starts after the given entry
    EXPECT_EQ(combo.SelectString(2, "dv"), 1); // and wraps round
    EXPECT_EQ(combo.SelectString(-1, "XGA"), CB_ERR);
    EXPECT_EQ(combo.GetCurSel(), 1); // a failed search keeps the selection
    EXPECT_EQ(combo.FindStringExact(-1, "DVI"), 1);
    EXPECT_EQ(combo.FindStringExact(-1, "DV"), CB_ERR);
    CString text;
    combo.GetWindowText(text);
    EXPECT_EQ(text, "dvi");
    combo.SetCurSel(3);
    EXPECT_TRUE(dialog.log == std::vector<std::string>{"init"}); // no CBN_SELCHANGE from the program

    // The operator's choice does notify.
    auto* box = qobject_cast<QComboBox*>(combo.GetHostWidget());
    box->activateWindow();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(combo.GetCurSel(), 2);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"init", "selchange"}));
}

TEST_F(DialogTest, ComboEntriesAreAddedInsertedAndDeletedLikeThePlatforms) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create(9001));
    CComboBox combo;
    combo.SubclassDlgItem(1086, &dialog);
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
    EXPECT_EQ(combo.AddString("M1"), 0);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR); // adding to an empty list selects nothing
    EXPECT_EQ(combo.AddString("M2"), 1);
    EXPECT_EQ(combo.InsertString(0, "\xBE\xD8\xD5\xF3"), 0); // "矩阵" in GBK
    EXPECT_EQ(combo.InsertString(9, "x"), CB_ERR);
    combo.SetCurSel(2); // M2
    EXPECT_EQ(combo.DeleteString(0), 2);
    EXPECT_EQ(combo.GetCurSel(), 1); // the selection follows its entry
    EXPECT_EQ(combo.DeleteString(1), 1);
    EXPECT_EQ(combo.GetCurSel(), CB_ERR); // deleting the chosen entry leaves nothing chosen
    EXPECT_EQ(combo.DeleteString(5), CB_ERR);
    combo.InsertString(-1, "\xBE\xD8\xD5\xF3");
    CString text;
    combo.GetLBText(1, text);
    EXPECT_EQ(text, "\xBE\xD8\xD5\xF3");
    EXPECT_EQ(combo.GetLBTextLen(1), 4);
    EXPECT_EQ(combo.FindStringExact(-1, "\xBE\xD8\xD5\xF3"), 1);
    EXPECT_EQ(combo.GetLBTextLen(7), CB_ERR);

    // A name of a million characters from a file: the list shows its beginning, the entry keeps it whole.
    std::string name;
    for (int i = 0; i < 1000000; ++i)
        name += "\xC7\xBD";
    const int index = combo.AddString(name.c_str());
    EXPECT_LE(qobject_cast<QComboBox*>(combo.GetHostWidget())->itemText(index).size(), 1025);
    combo.GetLBText(index, text);
    EXPECT_EQ(text.GetLength(), int(name.size()));
    EXPECT_EQ(combo.FindStringExact(-1, name.c_str()), index);
    combo.SetCurSel(index);
    combo.GetWindowText(text);
    EXPECT_EQ(text.GetLength(), int(name.size()));
}

namespace {

const DlgTemplate kMonitorLike[] = {
    {9003,
     "Monitor",
     300,
     160,
     WS_POPUP | WS_CAPTION,
     {
         {1124, DlgItemKind::Static, "Title", 10, 10, 280, 50, WS_VISIBLE | SS_CENTER},
         {-1, DlgItemKind::Static, "Address:", 10, 70, 80, 20, WS_VISIBLE},
         {1085, DlgItemKind::RadioButton, "Single", 10, 100, 80, 20, WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON},
         {1087, DlgItemKind::RadioButton, "Range", 100, 100, 80, 20, WS_VISIBLE | BS_AUTORADIOBUTTON},
         {1072, DlgItemKind::ComboBox, "", 10, 130, 120, 100, WS_VISIBLE | CBS_DROPDOWN, {"Scene 1", "Scene 2"}},
     }},
};

// Draws its title large and coloured, as the monitor-remote dialog does.
class ColouredDialog : public CDialog {
public:
    ColouredDialog() : CDialog(9003) { m_font.CreatePointFont(300, "\xCB\xCE\xCC\xE5"); }
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override {
        if (nCtlColor == CTLCOLOR_STATIC && pWnd->GetDlgCtrlID() == 1124) {
            pDC->SelectObject(&m_font);
            pDC->SetBkMode(TRANSPARENT);
            pDC->SetTextColor(RGB(46, 90, 69));
            return static_cast<HBRUSH>(static_cast<HGDIOBJ>(GetStockObject(NULL_BRUSH)));
        }
        return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    }
    CFont m_font;
};

} // namespace

TEST_F(DialogTest, TheColourHandlerGivesAStaticItsFontAndTextColour) {
    CResourceTable::AddDialogs(kMonitorLike);
    ColouredDialog dialog;
    ASSERT_TRUE(dialog.Create(9003));
    QWidget* title = Item(dialog, 1124);
    EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(46, 90, 69));
    LOGFONT logFont{};
    dialog.m_font.GetLogFont(&logFont);
    EXPECT_EQ(title->font().pixelSize(), -logFont.lfHeight);
    EXPECT_FALSE(title->autoFillBackground()); // the null brush paints nothing

    // The other static keeps the dialog's look.
    QWidget* label = nullptr;
    for (QWidget* w : dialog.GetHostWidget()->findChildren<QLabel*>())
        if (w != title)
            label = w;
    ASSERT_NE(label, nullptr);
    EXPECT_NE(label->palette().color(QPalette::WindowText), QColor(46, 90, 69));
    EXPECT_NE(label->font().pixelSize(), -logFont.lfHeight);
}

TEST_F(DialogTest, RadioButtonsOfAGroupExcludeEachOtherAndTheEditableComboKeepsTypedText) {
    CResourceTable::AddDialogs(kMonitorLike);
    TestDialog dialog(9003);
    ASSERT_TRUE(dialog.Create(9003));
    dialog.CheckDlgButton(1085, BST_CHECKED);
    QTest::mouseClick(Item(dialog, 1087), Qt::LeftButton);
    EXPECT_EQ(dialog.IsDlgButtonChecked(1087), BST_CHECKED);
    EXPECT_EQ(dialog.IsDlgButtonChecked(1085), BST_UNCHECKED);
    dialog.CheckRadioButton(1085, 1087, 1085);
    EXPECT_EQ(dialog.IsDlgButtonChecked(1085), BST_CHECKED);
    EXPECT_EQ(dialog.IsDlgButtonChecked(1087), BST_UNCHECKED);

    CComboBox scenes;
    scenes.SubclassDlgItem(1072, &dialog);
    scenes.SetCurSel(1);
    auto* edit = qobject_cast<QComboBox*>(scenes.GetHostWidget())->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, "Night");
    QTest::keyClick(edit, Qt::Key_Return); // neither added to the list nor completed
    EXPECT_EQ(dialog.log.back(), "ok");    // but the dialog's default command, as Enter anywhere
    CString text;
    scenes.GetWindowText(text);
    EXPECT_EQ(text, "Night");
    EXPECT_EQ(scenes.GetCount(), 2);
    scenes.AddString("Scene 3");
    scenes.GetWindowText(text);
    EXPECT_EQ(text, "Night"); // adding entries leaves the typed name
    EXPECT_EQ(scenes.GetCurSel(), 1);
}

TEST_F(DialogTest, AnEntrysNameTypedInAnEditableComboIsNoChoiceWhenTheFocusMovesOnOnlyTheArrowKeysChoose) {
    CResourceTable::AddDialogs(kMonitorLike);
    TestDialog dialog(9003);
    ASSERT_TRUE(dialog.Create(9003));
    dialog.ShowWindow(SW_SHOW);
    dialog.GetHostWidget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.GetHostWidget()));
    CComboBox scenes;
    scenes.SubclassDlgItem(1072, &dialog);
    scenes.SetCurSel(0);
    auto* box = qobject_cast<QComboBox*>(scenes.GetHostWidget());
    box->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), "Scene 2");
    // The operator goes on to another control: the name stays a typed name, the first entry stays chosen.
    QTest::mouseClick(Item(dialog, 1087), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !box->hasFocus(); }));
    QApplication::processEvents();
    EXPECT_EQ(scenes.GetCurSel(), 0);
    CString text;
    scenes.GetWindowText(text);
    EXPECT_EQ(text, "Scene 2");
    EXPECT_EQ(std::count(dialog.log.begin(), dialog.log.end(), "scene selchange"), 0);
    EXPECT_EQ(std::count(dialog.log.begin(), dialog.log.end(), "scene editchange"), 7);

    PressKey(box, Qt::Key_Down);
    EXPECT_EQ(scenes.GetCurSel(), 1);
    EXPECT_EQ(dialog.log.back(), "scene selchange");
}
