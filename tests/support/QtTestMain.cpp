#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

// Widget tests run without a display unless the caller chose a platform; test discovery runs this binary at
// build time, where no display may exist.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
