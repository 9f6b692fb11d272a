#include "ui/app/MainFrame.h"
#include "ui/app/VeltranoApp.h"

#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/WorkingDir.h"

#include "platform/gui/dialogs/Dialog.h"
#include "res/ResourceTables.h"

#include <gtest/gtest.h>

// The program started on the sample configuration: each Config item can be chosen, and opens its dialog modally.
TEST(ConfigMenuTest, EachConfigItemIsAvailableAndOpensItsDialogModallyOverTheMainWindow) {
    WorkingDir dir;
    for (const char* name : {"command.xml", "system.xml", "matrix.xml"})
        dir.CopySample(name);
    const std::string settings = dir.Read("system.xml");
    MessageBoxRecorder boxes;
    RegisterResourceTables();
    CVeltranoApp app;
    char name[] = "veltrano";
    char* argv[] = {name, nullptr};
    app.m_argc = 1;
    app.m_argv = argv;
    ASSERT_TRUE(app.InitInstance());
    CWnd* frame = AfxGetMainWnd();
    for (auto [command, dialog] : {std::pair{1032u, 131u}, {1033u, 104u}, {32787u, 155u}, {32803u, 159u}}) {
        EXPECT_TRUE(frame->OnCmdMsg(command, CN_COMMAND, nullptr, TRUE)) << command;
        UINT shown = 0;
        CDialog::SetModalLoop([&](CDialog& d) {
            if (d.GetHostWidget()->isModal() && d.GetHostWidget()->isVisible())
                shown = d.GetTemplateId();
        });
        frame->SendMessage(WM_COMMAND, command, 0);
        EXPECT_EQ(shown, dialog);
    }
    CDialog::SetModalLoop(nullptr);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(dir.Read("system.xml"), settings);
    frame->DestroyWindow();
    app.ExitInstance();
}
