// Draws the program's background picture, bmp_logo.bmp: a wall of screens fading from night blue into a light
// sky, the picture the wall view is shown in front of.
#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_logo <output.bmp>\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    constexpr int kWidth = 1024;
    constexpr int kHeight = 768;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0.0, QColor(22, 44, 88));
    sky.setColorAt(0.55, QColor(70, 112, 176));
    sky.setColorAt(1.0, QColor(168, 196, 232));
    painter.fillRect(image.rect(), sky);

    // A soft light behind the middle, where the wall view stands.
    QRadialGradient glow(kWidth / 2.0, kHeight * 0.45, kWidth * 0.55);
    glow.setColorAt(0.0, QColor(255, 255, 255, 70));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.fillRect(image.rect(), glow);

    // Faint screens in rows, each a little lighter towards the bottom.
    constexpr int kTile = 64;
    constexpr int kGap = 6;
    for (int y = kGap; y < kHeight; y += kTile) {
        for (int x = kGap; x < kWidth; x += kTile) {
            const int alpha = 14 + 20 * y / kHeight;
            painter.setPen(QPen(QColor(255, 255, 255, alpha + 14), 1));
            painter.setBrush(QColor(255, 255, 255, alpha));
            painter.drawRoundedRect(QRectF(x, y, kTile - kGap, kTile - kGap), 3, 3);
        }
    }

    // Two sweeping bands of light across the screens.
    painter.setPen(Qt::NoPen);
    for (int band = 0; band < 2; ++band) {
        QLinearGradient sweep(0, 0, kWidth, kHeight);
        sweep.setColorAt(0.0, QColor(255, 255, 255, 0));
        sweep.setColorAt(0.5, QColor(255, 255, 255, 28 - band * 10));
        sweep.setColorAt(1.0, QColor(255, 255, 255, 0));
        QPainterPath path;
        const double offset = band * 260.0;
        path.moveTo(-200 + offset, kHeight);
        path.cubicTo(200 + offset, kHeight * 0.55, 520 + offset, kHeight * 0.75, kWidth + offset, 120);
        path.lineTo(kWidth + offset, 220);
        path.cubicTo(560 + offset, kHeight * 0.85, 240 + offset, kHeight * 0.7, -200 + offset, kHeight + 120);
        path.closeSubpath();
        painter.fillPath(path, sweep);
    }
    painter.end();
    return image.convertToFormat(QImage::Format_RGB888).save(QString::fromLocal8Bit(argv[1]), "BMP") ? 0 : 1;
}
