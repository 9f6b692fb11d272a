// The program's main window as a Qt programmer writes it, the start-up benchmark's peer: a QMainWindow of the
// program's size with its menus and a status bar of four panes, a splitter with the wall (3 x 4 units in the middle
// three fifths, over the background picture stretched to the pane) above the banner (ten buttons over a six-page
// QTabWidget whose pages are built when first shown, as the program builds its property pages; the first holds
// five pairs of arrow buttons with their labels).
//
// Usage: bench_plain_window <picture>
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The wall over the stretched picture; the picture is scaled once a size, not on every paint.
class WallView : public QWidget {
public:
    explicit WallView(QImage picture) : m_picture(std::move(picture)) { setAttribute(Qt::WA_OpaquePaintEvent); }

protected:
    void resizeEvent(QResizeEvent*) override { m_scaled = QPixmap(); }
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        if (m_scaled.size() != size() && !m_picture.isNull())
            m_scaled = QPixmap::fromImage(m_picture.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        if (m_scaled.isNull())
            painter.fillRect(event->rect(), QColor(156, 182, 226));
        else
            painter.drawPixmap(event->rect(), m_scaled, event->rect());
        const QRect wall(width() / 5, 12, width() * 3 / 5, height() - 24);
        painter.fillRect(wall, Qt::white);
        painter.setPen(QColor(192, 192, 192));
        for (int col = 0; col <= 4; ++col) {
            const int x = wall.left() + col * (wall.width() - 1) / 4;
            painter.drawLine(x, wall.top(), x, wall.bottom());
        }
        for (int row = 0; row <= 3; ++row) {
            const int y = wall.top() + row * (wall.height() - 1) / 3;
            painter.drawLine(wall.left(), y, wall.right(), y);
        }
    }

private:
    QImage m_picture;
    QPixmap m_scaled;
};

QIcon Arrow(bool right) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(40, 80, 200));
    painter.setPen(Qt::NoPen);
    const QPolygon left({QPoint(11, 2), QPoint(4, 8), QPoint(11, 14)});
    const QPolygon pointing({QPoint(5, 2), QPoint(12, 8), QPoint(5, 14)});
    painter.drawPolygon(right ? pointing : left);
    return QIcon(pixmap);
}

QWidget* AdjustmentPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    const char* names[] = {"Brightness", "Contrast", "Saturation", "Sharpness", "Noise Reduction"};
    const QIcon left = Arrow(false), right = Arrow(true);
    for (int i = 0; i < 5; ++i) {
        auto* pair = new QHBoxLayout;
        for (const QIcon& icon : {left, right}) {
            auto* button = new QPushButton;
            button->setIcon(icon);
            button->setFixedSize(44, 32);
            pair->addWidget(button);
        }
        grid->addLayout(pair, 0, i, Qt::AlignCenter);
        grid->addWidget(new QLabel(QString::fromLatin1(names[i])), 1, i, Qt::AlignHCenter | Qt::AlignTop);
    }
    return page;
}

QWidget* Banner() {
    auto* banner = new QWidget;
    auto* layout = new QVBoxLayout(banner);
    auto* buttons = new QHBoxLayout;
    for (const char* text : {"Open", "Close", "Power On", "Power Off", "DP", "HDMI2", "VGA", "HDMI", "DVI", "Unit"})
        buttons->addWidget(new QPushButton(QString::fromLatin1(text)));
    buttons->addStretch();
    layout->addLayout(buttons);
    auto* tabs = new QTabWidget;
    const char* pages[] = {"VIDEO", "VGA/DVI", "MENU", "Scene", "Other", "Matrix"};
    tabs->addTab(AdjustmentPage(), QString::fromLatin1(pages[0]));
    for (int i = 1; i < 6; ++i)
        tabs->addTab(new QWidget, QString::fromLatin1(pages[i]));
    // A page gets its controls when it is first shown.
    QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [tabs](int index) {
        QWidget* page = tabs->widget(index);
        if (index > 0 && !page->layout()) {
            auto* grid = new QGridLayout(page);
            for (int i = 0; i < 10; ++i)
                grid->addWidget(new QPushButton(QStringLiteral("Button %1").arg(i + 1)), i / 5, i % 5);
        }
    });
    layout->addWidget(tabs);
    return banner;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Plain window"));
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("File(&F)"));
    file->addAction(QStringLiteral("Exit(&X)"), &app, &QApplication::quit);
    QMenu* config = window.menuBar()->addMenu(QStringLiteral("Config(&E)"));
    for (const char* item : {"Serial Port", "Wall Layout", "Matrix", "Monitor Remote", "Advanced Control"})
        config->addAction(QString::fromLatin1(item));
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    for (int i = 0; i < 3; ++i) {
        auto* pane = new QLabel;
        pane->setMinimumWidth(30);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        window.statusBar()->addPermanentWidget(pane);
    }

    QImage picture;
    if (argc > 1) {
        QImageReader reader(QString::fromLocal8Bit(argv[1]));
        picture = reader.read();
    }
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(new WallView(picture));
    splitter->addWidget(Banner());
    splitter->setStretchFactor(0, 1);
    window.setCentralWidget(splitter);

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize size(1024, 996);
    window.setGeometry(QRect(screen.center() - QPoint(size.width() / 2, size.height() / 2), size));
    splitter->setSizes({size.height() * 3 / 4, size.height() / 4});
    window.show();
    return app.exec();
}
