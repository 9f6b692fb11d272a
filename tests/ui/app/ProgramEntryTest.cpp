#include "tests/ui/WallFixture.h"

#include "ui/app/VeltranoApp.h"

#include "tests/support/WorkingDir.h"

#include "platform/gui/frame/WinApp.h"
#include "platform/gui/window/SystemMetrics.h"
#include "platform/gui/window/Wnd.h"
#include "platform/os/Gbk.h"

#include <QApplication>
#include <QTimer>

// The program run from its entry as main runs it, in a folder with the sample definitions and a 2 x 3 wall: a
// message box it shows while it runs carries the application's title, the string table's "LCD WALL", not the
// executable's name.
TEST(ProgramEntryTest, MessageBoxesAreCaptionedWithTheTitleFromTheStringTable) {
    WorkingDir dir;
    dir.CopySample("command.xml");
    dir.CopySample("matrix.xml");
    dir.Write("system.xml", SettingsFile(2, 3));
    SetScreenMetricsHandler([]() { return ScreenMetrics{CRect(0, 0, 1280, 1024), CRect(0, 0, 1280, 1002)}; });
    // The entry puts the real message box in place; it comes back afterwards.
    const MessageBoxHandler previous = SetMessageBoxHandler(nullptr);
    CVeltranoApp app;
    QString caption;
    QTimer::singleShot(0, [&caption]() {
        QTimer::singleShot(0, [&caption]() {
            if (QWidget* box = QApplication::activeModalWidget()) {
                caption = box->windowTitle();
                box->close();
            }
        });
        AfxMessageBox(Utf8ToGbkLiteral("串口发送数据出错！"), MB_ICONERROR);
        if (CWnd* main = AfxGetMainWnd())
            main->SendMessage(WM_CLOSE, 0, 0);
    });
    char name[] = "veltrano";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(VeltranoMain(1, argv), 0);
    EXPECT_EQ(caption.toStdString(), "LCD WALL");
    SetMessageBoxHandler(previous);
    SetScreenMetricsHandler(nullptr);
}
