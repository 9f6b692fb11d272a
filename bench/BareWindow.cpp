// The least a Qt program does to show a main window of the program's size: an empty QMainWindow of 1024 x 996 in
// the middle of the screen. The start-up benchmark measures it beside the program.
#include <QApplication>
#include <QMainWindow>
#include <QScreen>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize size(1024, 996);
    window.setGeometry(QRect(screen.center() - QPoint(size.width() / 2, size.height() / 2), size));
    window.show();
    return app.exec();
}
