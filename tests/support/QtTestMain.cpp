#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// A test whose main window closes asks the application to quit, and from then on every event loop (a modal
// dialog, a pop-up menu) would return at once. Running the application's own loop once clears that request, so
// the tests after it in the same process start as the first one did.
class ClearQuitRequest : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo&) override {
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }
};

} // namespace

// Widget tests run without a display unless the caller chose a platform; test discovery runs this binary at
// build time, where no display may exist.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new ClearQuitRequest);
    return RUN_ALL_TESTS();
}
