#include "XwdImage.h"

#include <QFile>

#include <cstdint>

QImage ReadXwd(const QByteArray& data) {
    const auto field = [&](int i) {
        const auto* p = reinterpret_cast<const unsigned char*>(data.constData()) + 4 * i;
        return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
    };
    if (data.size() < 100)
        return {};
    const uint32_t headerSize = field(0), width = field(4), height = field(5), byteOrder = field(7);
    const uint32_t bitsPerPixel = field(11), bytesPerLine = field(12), colours = field(19);
    const uint32_t redMask = field(14), greenMask = field(15), blueMask = field(16);
    const qsizetype start = headerSize + 12 * colours;
    const uint32_t bytesPerPixel = bitsPerPixel / 8;
    if ((bytesPerPixel != 3 && bytesPerPixel != 4) || bytesPerLine < bytesPerPixel * width ||
        data.size() < start + qsizetype(bytesPerLine) * height)
        return {};
    const auto shift = [](uint32_t mask) { return mask ? __builtin_ctz(mask) : 0; };
    QImage image(int(width), int(height), QImage::Format_RGB32);
    for (uint32_t y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        const auto* row = reinterpret_cast<const unsigned char*>(data.constData()) + start + y * bytesPerLine;
        for (uint32_t x = 0; x < width; ++x) {
            const unsigned char* p = row + bytesPerPixel * x;
            uint32_t v = 0;
            for (uint32_t i = 0; i < bytesPerPixel; ++i)
                v |= uint32_t(p[i]) << (8 * (byteOrder == 0 ? i : bytesPerPixel - 1 - i));
            line[x] = qRgb((v & redMask) >> shift(redMask), (v & greenMask) >> shift(greenMask),
                           (v & blueMask) >> shift(blueMask));
        }
    }
    return image;
}

QImage ReadXwdFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return ReadXwd(file.readAll());
}
