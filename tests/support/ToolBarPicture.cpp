#include "ToolBarPicture.h"

#include <QColor>

QImage ThreeSquaresStrip() {
    QImage strip(48, 15, QImage::Format_RGB32);
    strip.fill(QColor(192, 192, 192));
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue};
    for (int i = 0; i < 3; ++i)
        for (int y = 3; y < 12; ++y)
            for (int x = 3; x < 13; ++x)
                strip.setPixelColor(i * 16 + x, y, colours[i]);
    return strip;
}
