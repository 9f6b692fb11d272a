#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdlib>

// The tests draw texts to compare with what the program drew; they do it off any screen. The program itself
// runs on the tests' own X servers.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
