#include "platform/gui/controls/Button.h"
#include "platform/gui/controls/ComboBox.h"
#include "platform/gui/controls/Edit.h"
#include "platform/gui/controls/ListCtrl.h"
#include "platform/gui/controls/Static.h"
#include "platform/gui/dialogs/Dialog.h"

#include "tests/support/MessageBoxRecorder.h"

#include <QComboBox>

#include <gtest/gtest.h>

namespace {

constexpr DWORD kTab = WS_VISIBLE | WS_TABSTOP;

const DlgTemplate kDialogs[] = {
    {9301,
     "Controls",
     400,
     260,
     WS_POPUP | WS_CAPTION,
     {
         {1105, DlgItemKind::ComboBox, "", 10, 10, 80, 100, kTab | CBS_DROPDOWNLIST, {"10", "20", "30"}},
         {1085, DlgItemKind::RadioButton, "One", 10, 40, 80, 20, kTab | BS_AUTORADIOBUTTON | WS_GROUP},
         {1064, DlgItemKind::CheckBox, "Use", 10, 70, 80, 20, kTab | BS_AUTOCHECKBOX},
         {1082, DlgItemKind::PushButton, "Set", 10, 100, 80, 24, kTab | BS_PUSHBUTTON},
         {1029, DlgItemKind::Edit, "12", 100, 10, 80, 22, kTab},
         {1068, DlgItemKind::Static, "0", 100, 40, 80, 20, WS_VISIBLE | SS_LEFT},
         {1101, DlgItemKind::ListView, "", 100, 70, 280, 150, kTab | LVS_REPORT | LVS_SINGLESEL},
     }},
};

class ControlsDialog : public CDialog {
public:
    ControlsDialog() : CDialog(9301) {}
    CComboBox m_bound;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, 1105, m_bound); }
};

class DlgItemObjectTest : public testing::Test {
protected:
    void SetUp() override { CResourceTable::AddDialogs(kDialogs); }
};

} // namespace

TEST_F(DlgItemObjectTest, AnUnboundControlComesBackAsAnObjectOfItsOwnClassAndStaysTheSame) {
    CDialog dialog(9301);
    ASSERT_TRUE(dialog.Create(9301));

    auto* combo = dynamic_cast<CComboBox*>(dialog.GetDlgItem(1105));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetCount(), 3);
    combo->SetCurSel(2);
    EXPECT_EQ(qobject_cast<QComboBox*>(combo->GetHostWidget())->currentIndex(), 2);
    EXPECT_EQ(dialog.GetDlgItem(1105), combo); // the same object every time

    auto* check = dynamic_cast<CButton*>(dialog.GetDlgItem(1064));
    ASSERT_NE(check, nullptr);
    check->SetCheck(BST_CHECKED);
    EXPECT_EQ(dialog.IsDlgButtonChecked(1064), BST_CHECKED);
    EXPECT_NE(dynamic_cast<CButton*>(dialog.GetDlgItem(1085)), nullptr);
    EXPECT_NE(dynamic_cast<CButton*>(dialog.GetDlgItem(1082)), nullptr);
    EXPECT_NE(dynamic_cast<CEdit*>(dialog.GetDlgItem(1029)), nullptr);
    EXPECT_NE(dynamic_cast<CStatic*>(dialog.GetDlgItem(1068)), nullptr);

    auto* list = dynamic_cast<CListCtrl*>(dialog.GetDlgItem(1101));
    ASSERT_NE(list, nullptr);
    list->InsertColumn(0, "Name", LVCFMT_LEFT, 100);
    EXPECT_EQ(list->InsertItem(0, "M1"), 0);
    EXPECT_EQ(list->GetItemCount(), 1);
}

TEST_F(DlgItemObjectTest, ABoundControlIsTheProgramsOwnObjectEvenAfterAnEarlierLookUp) {
    ControlsDialog dialog;
    CWnd* before = nullptr;
    ASSERT_TRUE(dialog.Create(9301));
    EXPECT_EQ(dialog.GetDlgItem(1105), &dialog.m_bound);
    EXPECT_EQ(CWnd::FromHandlePermanent(dialog.GetDlgItem(1105)->GetSafeHwnd()), &dialog.m_bound);

    // An object handed out first gives way when the program binds its own.
    CDialog other(9301);
    ASSERT_TRUE(other.Create(9301));
    before = other.GetDlgItem(1029);
    CEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(1029, &other));
    EXPECT_EQ(other.GetDlgItem(1029), &edit);
    EXPECT_NE(other.GetDlgItem(1029), before);
}

TEST(MessageBoxSeam, EveryFormOfTheBoxReachesTheSeamWithItsCaption) {
    static const StringTemplate strings[] = {{9310, "\xE5\xA2\x99"}}; // UTF-8 in the table, GBK at the seam
    CResourceTable::AddStrings(strings);
    MessageBoxRecorder recorder(IDCANCEL);

    const CString question("Load?");
    EXPECT_EQ(AfxMessageBox(question, MB_OKCANCEL | MB_ICONQUESTION), IDCANCEL);
    EXPECT_EQ(AfxMessageBox(9310), IDCANCEL);
    AfxMessageBox(9399, MB_ICONERROR); // no such string: an empty text, not a crash
    CWnd wnd;
    wnd.MessageBox("please close the serial port first.");
    wnd.MessageBox("text", "Title", MB_YESNO);
    ::MessageBox(nullptr, "plain", nullptr, MB_OK);

    const auto& boxes = recorder.Boxes();
    ASSERT_EQ(boxes.size(), 6u);
    EXPECT_EQ(boxes[0].text, "Load?");
    EXPECT_EQ(boxes[0].type, MB_OKCANCEL | MB_ICONQUESTION);
    EXPECT_EQ(boxes[1].text, "\xC7\xBD");
    EXPECT_EQ(boxes[1].type, MB_OK);
    EXPECT_EQ(boxes[2].text, "");
    EXPECT_EQ(boxes[3].text, "please close the serial port first.");
    EXPECT_EQ(boxes[3].type, MB_OK);
    EXPECT_EQ(boxes[3].caption, "");
    EXPECT_EQ(boxes[4].caption, "Title");
    EXPECT_EQ(boxes[4].type, MB_YESNO);
    EXPECT_EQ(boxes[5].caption, "Error");
    EXPECT_EQ(MessageBoxCaption(), ""); // restored after each box
}
