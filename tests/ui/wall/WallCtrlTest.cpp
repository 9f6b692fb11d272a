#include "tests/ui/PageFixture.h"

#include "ui/banner/MatrixCtrl.h"
#include "ui/banner/PageMatrix.h"
#include "ui/wall/LcdGridCtrl.h"
#include "ui/wall/WallCtrl.h"

#include "core/MatrixMgr.h"
#include "core/WallModel.h"
#include "platform/gui/controls/Button.h"
#include "platform/gui/controls/ComboBox.h"
#include "platform/gui/dialogs/Dialog.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>

#include <optional>

namespace {

using WallCtrlTest = WallFixture;

class MatrixRunTest : public WallFixture {
protected:
    void SetUp() override {
        WallFixture::SetUp();
        BuildWall();
        OpenPort();
        pageObject.emplace(view);
        host.emplace(std::initializer_list<CPropertyPage*>{&*pageObject});
        ASSERT_TRUE(page().GetSafeHwnd());
        Choose("M1", false);
    }
    void TearDown() override {
        CWallModel::GetInstance()->GetMatrixMgr()->UnregisterAll(this);
        host.reset();
        pageObject.reset();
        WallFixture::TearDown();
    }
    // Sets the page's choices as the controller reads them; a name the list lacks is added, as a matrix that is no
    // longer there.
    void Choose(const char* matrix, bool increase) {
        auto* combo = static_cast<CComboBox*>(page().GetDlgItem(1086));
        int index = combo->FindStringExact(-1, matrix);
        if (index < 0)
            index = combo->AddString(matrix);
        combo->SetCurSel(index);
        static_cast<CComboBox*>(page().GetDlgItem(1105))->SetCurSel(0);
        page().CheckDlgButton(1083, increase ? BST_CHECKED : BST_UNCHECKED);
    }
    CPageMatrix& page() { return *pageObject; }

    // Built once the wall view exists: the page's controller takes it.
    std::optional<CPageMatrix> pageObject;
    std::optional<PageHost> host;
};

} // namespace

TEST_F(WallCtrlTest, ASourceWithNothingSelectedGoesToTheWholeWallAndClosesThePipWindowWhateverTheSendGives) {
    BuildWall();
    CWallCtrl ctrl(CWallModel::GetInstance(), view);
    EXPECT_EQ(ctrl.GetWallView(), view);

    // The port is closed: the send fails and says so, and the PIP window is gone all the same.
    view->CreatePipWindow(CRect(10, 10, 60, 60), "PIP");
    EXPECT_EQ(ctrl.Execute("VGA", 0, TRUE), 16);
    EXPECT_FALSE(view->HasPipWindow());
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].type & MB_ICONMASK, MB_ICONERROR);

    OpenPort();
    view->CreatePipWindow(CRect(10, 10, 60, 60), "PIP");
    EXPECT_EQ(ctrl.Execute("VGA", 0, TRUE), 0);
    EXPECT_EQ(Sent(), ShortFrame(0x00, 0xFF, kCodeVga, 0));
    EXPECT_FALSE(view->HasPipWindow());
    EXPECT_EQ(view->GetItemText(0, 0).Str(), ""); // nothing selected: nothing relabelled

    // Source names are matched exactly: in lower case the name closes nothing.
    view->CreatePipWindow(CRect(10, 10, 60, 60), "PIP");
    ctrl.Execute("vga", 0, TRUE);
    EXPECT_TRUE(view->HasPipWindow());
    Sent();
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(WallCtrlTest, TheSelectionIsTheTargetUnlessTheCallerTakesNone) {
    BuildWall();
    OpenPort();
    CWallCtrl ctrl(CWallModel::GetInstance(), view);
    Select(0, 1, 1, 2);
    EXPECT_EQ(ctrl.Execute("POWER-ON", 0, TRUE), 0);
    EXPECT_EQ(Sent(), ShortFrame(0x12, 0x23, kCodePowerOn, 1));
    EXPECT_EQ(ctrl.Execute("POWER-ON", 0, FALSE), 0);
    EXPECT_EQ(Sent(), ShortFrame(0x00, 0x00, kCodePowerOn, 1));
    EXPECT_EQ(ctrl.ExecuteWithValue("UNITSHOW", 7), 0);
    EXPECT_EQ(Sent(), ShortFrame(0x12, 0x23, kCodeUnitShow, 7));
    view->ResetSelectedRange();
    EXPECT_EQ(ctrl.ExecuteWithValue("UNITSHOW", 7), 0);
    EXPECT_EQ(Sent(), ShortFrame(0x00, 0xFF, kCodeUnitShow, 7));
    // Three bytes always go to the whole wall.
    Select(0, 0, 0, 0);
    EXPECT_EQ(ctrl.ExecuteWithBytes("YPBPR", 0x12, 0x34, 0x56), 0);
    EXPECT_EQ(Sent(), Bytes({0xD5, 0xFF, 0x12, 0x34, 0x56, 0xAA}));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(MatrixRunTest, IncreasingInputsGoRowByRowThenTheGrownSignalAfterASecond) {
    Select(0, 0, 1, 2);
    Choose("M1", true);
    // The operator sees the wait cursor through the pause, and the usual one afterwards.
    bool waitCursorInPause = false;
    SetPauseHandler([&](DWORD ms) {
        pauses.push_back(ms);
        waitCursorInPause =
            QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
    });
    CMatrixCtrl ctrl(CWallModel::GetInstance(), view);
    EXPECT_EQ(ctrl.SwitchChannel(&page(), 5), 0);
    EXPECT_TRUE(waitCursorInPause);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(Sent(), Bytes({0xA5, 5, 1, 0xA1, 0xA5, 6,  2, 0xA1, 0xA5, 7,    3,    0xA1,      0xA5, 8,   4, 0xA9,
                             0xA5, 9, 5, 0xA9, 0xA5, 10, 6, 0xA9, 0xD5, 0x11, 0x23, kCodeHdmi, 0x00, 0xAA}));
    EXPECT_EQ(pauses, std::vector<DWORD>{1000});
    EXPECT_EQ(Label(0, 0), "HDMI[5]");
    EXPECT_EQ(Label(1, 2), "HDMI[10]");
    EXPECT_TRUE(boxes.Boxes().empty());

    // Without " Increase " every unit gets the same input and the plain signal.
    Choose("M1", false);
    Select(0, 0, 0, 1);
    EXPECT_EQ(ctrl.SwitchChannel(&page(), 3), 0);
    EXPECT_EQ(Sent(), Bytes({0xA5, 3, 1, 0xA7, 0xA5, 3, 2, 0xA4, 0xD5, 0x11, 0x12, kCodeVga, 0x00, 0xAA}));
    EXPECT_EQ(Label(0, 0), "VGA[3]");
    EXPECT_EQ(Label(0, 1), "VGA[3]");
    EXPECT_EQ(Label(1, 0), "HDMI[8]");
}

TEST_F(MatrixRunTest, AFailureStopsTheRunWhereItHappensWithNoPauseAndNoSignal) {
    Select(0, 0, 1, 2);
    Choose("M1", true);
    // The line goes dead once the second unit is switched.
    int switched = 0;
    bool waitCursorWhileSwitching = false;
    std::vector<unsigned char> beforeFailure;
    CWallModel::GetInstance()->GetMatrixMgr()->Register("MatrixSet", this, [&](NotifyEvent*) {
        waitCursorWhileSwitching = QGuiApplication::overrideCursor() != nullptr;
        if (++switched == 2) {
            beforeFailure = wall.pty.ReadAvailable();
            wall.pty.CloseMaster();
        }
    });
    // The failure is shown once the wait cursor has gone.
    bool waitCursorAtBox = true;
    boxes.whenShown = [&] { waitCursorAtBox = QGuiApplication::overrideCursor() != nullptr; };
    CMatrixCtrl ctrl(CWallModel::GetInstance(), view);
    EXPECT_EQ(ctrl.SwitchChannel(&page(), 5), 16);
    EXPECT_TRUE(waitCursorWhileSwitching);
    EXPECT_FALSE(waitCursorAtBox);
    EXPECT_EQ(beforeFailure, Bytes({0xA5, 5, 1, 0xA1, 0xA5, 6, 2, 0xA1}));
    EXPECT_EQ(switched, 2);
    EXPECT_TRUE(pauses.empty());
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(view->GetItemData(0, 0), 5);
    EXPECT_EQ(view->GetItemData(0, 1), 6);
    EXPECT_EQ(view->GetItemData(0, 2), 0);
}

TEST_F(MatrixRunTest, NothingSelectedAsksForUnitsAndSendsNothing) {
    CMatrixCtrl ctrl(CWallModel::GetInstance(), view);
    EXPECT_EQ(ctrl.SwitchChannel(&page(), 1), 32);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Please choose panel\xA3\xA1");
    EXPECT_TRUE(Sent().empty());
}

TEST_F(MatrixRunTest, AMatrixWithoutASignalCommandSendsNoneAfterTheSwitches) {
    Select(0, 0, 0, 0);
    Choose("Quiet", false);
    CMatrixCtrl ctrl(CWallModel::GetInstance(), view);
    EXPECT_EQ(ctrl.SwitchChannel(&page(), 2), 0);
    EXPECT_EQ(Sent(), Bytes({0xA5, 2, 1, 0xA6}));
    EXPECT_TRUE(boxes.Boxes().empty());

    // An unknown matrix fails at the first unit.
    Choose("None", false);
    EXPECT_EQ(ctrl.SwitchChannel(&page(), 2), -1);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}
