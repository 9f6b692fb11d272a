// The tests of this binary run on a desktop of their own: an X server with a window manager, started before the
// application connects to it and stopped after it has gone.
#include "DesktopSession.h"
#include "XProbe.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<DesktopSession> desktop;
    // Listing the tests, as the build does, needs no display.
    if (GTEST_FLAG_GET(list_tests)) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    } else {
        desktop = std::make_unique<DesktopSession>();
        std::string error;
        if (!desktop->Start(error)) {
            std::fprintf(stderr, "No desktop for the tests: %s\n", error.c_str());
            return 1;
        }
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
    int result = 0;
    {
        QApplication app(argc, argv);
        // The manager names itself on the screen before it takes new windows, and misses a window mapped while it
        // starts: a window of its own, shown again until the manager frames it, tells when it is ready.
        if (desktop) {
            QWidget probe;
            probe.setGeometry(10, 10, 40, 30);
            bool framed = false;
            for (int i = 0; i < 10 && !framed; ++i) {
                probe.show();
                framed = WaitUntil([&] { return !FrameExtents(probe.winId()).isNull(); }, 2000);
                probe.hide();
            }
            if (!framed) {
                std::fprintf(stderr, "No desktop for the tests: openbox frames no window on %s\n%s\n",
                             desktop->Display().c_str(), desktop->ManagerLog().c_str());
                return 1;
            }
        }
        result = RUN_ALL_TESTS();
    }
    return result;
}
