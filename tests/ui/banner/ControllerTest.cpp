#include "tests/ui/PageFixture.h"

#include "ui/banner/FrameCtrl.h"
#include "ui/banner/PageOthers.h"
#include "ui/banner/PageScene.h"
#include "ui/banner/SceneCtrl.h"
#include "ui/forms/DialogFields.h"
#include "ui/setup/DlgMonitorCtrl.h"
#include "ui/setup/MonitorCtrl.h"
#include "ui/wall/LcdGridCtrl.h"

#include "core/CommPort.h"
#include "core/MatrixMgr.h"
#include "core/MonitorModel.h"
#include "core/SceneModel.h"
#include "core/WallModel.h"
#include "platform/gui/controls/Button.h"
#include "platform/gui/controls/ComboBox.h"
#include "platform/gui/dialogs/Dialog.h"

namespace {

constexpr int kCodeHorizontal = 136;
constexpr int kCodeVertical = 137;

class ControllerTest : public WallFixture {
protected:
    void SetUp() override {
        WallFixture::SetUp();
        BuildWall();
    }
    static void Pick(CWnd& dialog, int id, const char* entry) {
        auto* combo = static_cast<CComboBox*>(dialog.GetDlgItem(id));
        combo->SetCurSel(combo->FindStringExact(-1, entry));
    }
    static bool Enabled(CWnd& dialog, int id) { return dialog.GetDlgItem(id)->IsWindowEnabled() != FALSE; }
};

} // namespace

TEST_F(ControllerTest, FrameStepsTakeTheEmptySelectionAsItIsAndTheSwitchLeavesThePageShowingTheStoredState) {
    OpenPort();
    CFrameCtrl ctrl(CWallModel::GetInstance(), view);
    // Nothing selected on 2 x 3: the area is {3, 4, 0, 0}, not the whole wall.
    EXPECT_EQ(ctrl.HorizontalInc(), 0);
    EXPECT_EQ(Sent(), ShortFrame(0x34, 0x00, kCodeHorizontal, 1));
    Select(0, 1, 1, 2);
    EXPECT_EQ(ctrl.VerticalInc(), 0);
    EXPECT_EQ(Sent(), ShortFrame(0x12, 0x23, kCodeVertical, 1));
    EXPECT_EQ(ctrl.VerticalDec(), 0);
    Sent();
    // At 0 the lower limit is shown and nothing goes out.
    EXPECT_EQ(ctrl.VerticalDec(), 49);
    EXPECT_TRUE(Sent().empty());
    ASSERT_EQ(boxes.Boxes().size(), 1u);

    // The page "Other" is a child window, here of a window of its own.
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_OVERLAPPED, CRect(0, 0, 1000, 200), nullptr, 0));
    CPageOthers page(view);
    ASSERT_TRUE(page.Create(135, &host));
    EXPECT_FALSE(Enabled(page, 1060) || Enabled(page, 1063));
    page.CheckDlgButton(1064, BST_CHECKED);
    EXPECT_EQ(ctrl.EnableFrameEffect(&page), 0);
    EXPECT_EQ(Sent(), Bytes({0xD5, 0x00, 0x00, kCodeHorizontal, 1, 0xAA, 0xD5, 0x00, 0x00, kCodeVertical, 0, 0xAA}));
    EXPECT_EQ(pauses, std::vector<DWORD>{500});
    EXPECT_TRUE(Enabled(page, 1060) && Enabled(page, 1063));

    // Switching off on a dead line fails: the page goes back to what is stored, still on, before the box shows.
    wall.pty.CloseMaster();
    page.CheckDlgButton(1064, BST_UNCHECKED);
    UINT checkedAtBox = BST_UNCHECKED;
    boxes.whenShown = [&] { checkedAtBox = page.IsDlgButtonChecked(1064); };
    EXPECT_EQ(ctrl.EnableFrameEffect(&page), 16);
    EXPECT_EQ(checkedAtBox, BST_CHECKED);
    EXPECT_EQ(page.IsDlgButtonChecked(1064), BST_CHECKED);
    EXPECT_TRUE(Enabled(page, 1061) && Enabled(page, 1062));
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    page.DestroyWindow();
}

TEST_F(ControllerTest, TheMonitorRemoteSendsToOneAddressOrToARangeThatRunsForwards) {
    CMonitorModel model;
    CMonitorCtrl ctrl(&model);
    CDlgMonitorCtrl dialog;
    ASSERT_TRUE(dialog.Create(159));
    ctrl.SetDialog(&dialog);
    for (auto [id, entry] : {std::pair{1075, "COM5"}, {1088, "9600"}, {1023, "8"}, {1076, "1"}})
        Pick(dialog, id, entry);
    static_cast<CComboBox*>(dialog.GetDlgItem(1090))->SetCurSel(0);
    EXPECT_EQ(ctrl.OpenPort(), 0);
    EXPECT_TRUE(model.GetCommPort()->IsOpen());
    EXPECT_FALSE(Enabled(dialog, 1082) || Enabled(dialog, 1075));
    EXPECT_TRUE(Enabled(dialog, 1083) && Enabled(dialog, 1108));

    dialog.CheckRadioButton(1085, 1087, 1085);
    Pick(dialog, 1105, "7");
    EXPECT_EQ(ctrl.PowerOn(), 0);
    EXPECT_EQ(Sent(), Bytes({0xD5, 7, 7, 0x10, 0x01, 0xAA}));

    dialog.CheckRadioButton(1085, 1087, 1087);
    Pick(dialog, 1031, "3");
    Pick(dialog, 1032, "10");
    EXPECT_EQ(ctrl.Vga(), 0);
    EXPECT_EQ(Sent(), Bytes({0xD5, 3, 10, 0x20, 0x02, 0xAA}));
    EXPECT_TRUE(boxes.Boxes().empty());
    Pick(dialog, 1031, "10");
    Pick(dialog, 1032, "3");
    EXPECT_EQ(ctrl.PowerOn(), 96);
    EXPECT_TRUE(Sent().empty());
    ASSERT_EQ(boxes.Boxes().size(), 1u);

    EXPECT_EQ(ctrl.ClosePort(), 0);
    EXPECT_TRUE(Enabled(dialog, 1082) && Enabled(dialog, 1075));
    EXPECT_FALSE(Enabled(dialog, 1108));
    dialog.DestroyWindow();
}

TEST_F(ControllerTest, RecordingOverUnsavedSwitchesGoesOnOnlyWhenTheOperatorSaysSo) {
    OpenPort();
    CSceneCtrl ctrl(CWallModel::GetInstance(), view);
    CPageScene page(view);
    PageHost host{&page};
    ASSERT_TRUE(page.GetSafeHwnd());
    CSceneModel* scenes = CWallModel::GetInstance()->GetSceneModel();
    // One switch recorded and not saved.
    ASSERT_EQ(ctrl.ToggleRecording(&page), 0);
    EXPECT_EQ(ItemText(&page, 1082).Str(), "Stop");
    ASSERT_EQ(CWallModel::GetInstance()->GetMatrixMgr()->SetMatrix("M1", "SW", 2, 1), 0);
    ASSERT_EQ(ctrl.ToggleRecording(&page), 0);
    EXPECT_EQ(ItemText(&page, 1082).Str(), "Record");
    {
        MessageBoxRecorder cancel(IDCANCEL);
        EXPECT_EQ(ctrl.ToggleRecording(&page), 0);
        ASSERT_EQ(cancel.Boxes().size(), 1u);
        EXPECT_EQ(cancel.Boxes()[0].type, MB_OKCANCEL | MB_ICONQUESTION);
    }
    EXPECT_FALSE(scenes->IsRecording());
    EXPECT_EQ(ItemText(&page, 1082).Str(), "Record");
    EXPECT_EQ(ctrl.ToggleRecording(&page), 0);
    EXPECT_TRUE(scenes->IsRecording());
    EXPECT_EQ(ItemText(&page, 1082).Str(), "Stop");
    EXPECT_EQ(scenes->GetRecordsEnd(), 1u);

    // While recording neither loading nor saving goes ahead.
    Select(0, 0, 0, 0);
    EXPECT_EQ(ctrl.LoadScene(&page), -1);
    EXPECT_EQ(ctrl.SaveScene(&page), -1);
    ASSERT_EQ(boxes.Boxes().size(), 3u);
    EXPECT_EQ(boxes.Boxes()[1].text, "Please stop recording matrix before loading!");
    EXPECT_EQ(boxes.Boxes()[2].text, "Please stop record matrix,then save it");
}
