#include "ui/MainFrame.h"
#include "ui/VeltranoApp.h"

#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WorkingDir.h"

#include "platform/gui/Dialog.h"

#include <gtest/gtest.h>

namespace {

// The program started on the sample configuration, as the operator starts it.
class ConfigMenuTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"command.xml", "system.xml", "matrix.xml"})
            dir.CopySample(name);
        app.m_argc = 1;
        app.m_argv = m_argv;
        ASSERT_TRUE(app.InitInstance());
        frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override {
        CDialog::SetModalLoop(nullptr);
        if (CWnd* main = AfxGetMainWnd())
            main->DestroyWindow();
        app.ExitInstance();
    }

    WorkingDir dir;
    MessageBoxRecorder boxes;
    CVeltranoApp app;
    CMainFrame* frame = nullptr;

private:
    char m_name[9] = "veltrano";
    char* m_argv[2] = {m_name, nullptr};
};

} // namespace

TEST_F(ConfigMenuTest, EachConfigItemIsAvailableAndOpensItsDialogModallyOverTheMainWindow) {
    const std::string settings = dir.Read("system.xml");
    const struct {
        UINT command;
        UINT dialog;
    } items[] = {{1032, 131}, {1033, 104}, {32787, 155}, {32803, 159}};
    for (const auto& item : items) {
        EXPECT_TRUE(frame->OnCmdMsg(item.command, CN_COMMAND, nullptr, TRUE)) << item.command;
        UINT shown = 0;
        bool modal = false;
        CDialog::SetModalLoop([&](CDialog& dialog) {
            shown = dialog.GetTemplateId();
            modal = dialog.GetHostWidget()->isModal() && dialog.GetHostWidget()->isVisible();
        });
        frame->SendMessage(WM_COMMAND, item.command, 0);
        EXPECT_EQ(shown, item.dialog);
        EXPECT_TRUE(modal) << item.command;
    }
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(dir.Read("system.xml"), settings);
}
