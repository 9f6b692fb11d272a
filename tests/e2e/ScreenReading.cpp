#include "ScreenReading.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <map>

namespace {

// The fixed colours of the program's three-dimensional edges.
const QRgb kShadow = qRgb(128, 128, 128);
const QRgb kDarkShadow = qRgb(64, 64, 64);
const QRgb kLight = qRgb(212, 208, 200);
const QRgb kHighlight = qRgb(255, 255, 255);
const QRgb kGridLine = qRgb(192, 192, 192);

QRgb At(const QImage& image, int x, int y) {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return 0;
    return image.pixel(x, y) & 0xFFFFFF;
}

bool Same(QRgb a, QRgb b) { return (a & 0xFFFFFF) == (b & 0xFFFFFF); }

// The dark pixels of an area, cut to their bounding box: 1 dark, 0 light.
struct Ink {
    int width = 0, height = 0;
    std::vector<unsigned char> bits;
    bool Empty() const { return width == 0; }
    unsigned char At(int x, int y) const {
        return x < 0 || y < 0 || x >= width || y >= height ? 0 : bits[size_t(y * width + x)];
    }
};

// The ink is what stands out from the area's most common colour: dark text on a light cell, light text on a
// selected one.
Ink InkOf(const QImage& image, const QRect& area) {
    std::map<int, int> greys;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++greys[qGray(At(image, x, y))];
    int background = 255, most = 0;
    for (const auto& entry : greys)
        if (entry.second > most) {
            most = entry.second;
            background = entry.first;
        }
    const auto inked = [&](int x, int y) { return std::abs(qGray(At(image, x, y)) - background) > 100; };
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (inked(x, y))
                box |= QRect(x, y, 1, 1);
    Ink ink;
    if (box.isNull())
        return ink;
    ink.width = box.width();
    ink.height = box.height();
    ink.bits.resize(size_t(ink.width * ink.height));
    for (int y = 0; y < ink.height; ++y)
        for (int x = 0; x < ink.width; ++x)
            ink.bits[size_t(y * ink.width + x)] = inked(box.left() + x, box.top() + y);
    return ink;
}

Ink Rendered(const QString& text) {
    const QFont font = QGuiApplication::font();
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(text) + 8, metrics.height() + 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(4, 4 + metrics.ascent(), text);
    painter.end();
    return InkOf(image, image.rect());
}

// How alike two inks are, 0 to 1: the pixels both have dark over the pixels either has, aligned at their
// top-left corners; different sizes count against it.
double Likeness(const Ink& a, const Ink& b) {
    int both = 0, either = 0;
    const int width = std::max(a.width, b.width), height = std::max(a.height, b.height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            both += a.At(x, y) && b.At(x, y);
            either += a.At(x, y) || b.At(x, y);
        }
    return either == 0 ? 0.0 : double(both) / either;
}

} // namespace

int SunkenTopBelow(const QImage& screen, int x, int y0, int y1) {
    for (int y = y0; y < y1; ++y)
        if (Same(At(screen, x, y), kShadow) && Same(At(screen, x, y + 1), kDarkShadow))
            return y + 2;
    return -1;
}

int SunkenLeftRightOf(const QImage& screen, int y, int x0, int x1) {
    for (int x = x0; x < x1; ++x)
        if (Same(At(screen, x, y), kShadow) && Same(At(screen, x + 1, y), kDarkShadow))
            return x + 2;
    return -1;
}

int SunkenRightFrom(const QImage& screen, int y, int x0, int x1) {
    for (int x = x0; x < x1; ++x)
        if (Same(At(screen, x, y), kLight) && Same(At(screen, x + 1, y), kHighlight))
            return x - 1;
    return -1;
}

int SunkenBottomFrom(const QImage& screen, int x, int y0, int y1) {
    for (int y = y0; y < y1; ++y)
        if (Same(At(screen, x, y), kLight) && Same(At(screen, x, y + 1), kHighlight))
            return y - 1;
    return -1;
}

QRect WallGrid::Cell(int row, int column) const {
    const int left = column == 0 ? client.left() : columnLines[size_t(column - 1)] + 1;
    const int top = row == 0 ? client.top() : rowLines[size_t(row - 1)] + 1;
    return QRect(QPoint(left, top), QPoint(columnLines[size_t(column)] - 1, rowLines[size_t(row)] - 1));
}

WallGrid ReadWallGrid(const QImage& screen, const QRect& client) {
    WallGrid grid;
    grid.client = client;
    // Along the top and the left of the cells, where no label stands.
    for (int x = client.left(); x <= client.right(); ++x)
        if (Same(At(screen, x, client.top() + 1), kGridLine))
            grid.columnLines.push_back(x);
    for (int y = client.top(); y <= client.bottom(); ++y)
        if (Same(At(screen, client.left() + 1, y), kGridLine))
            grid.rowLines.push_back(y);
    return grid;
}

std::vector<int> TabBorders(const QImage& screen, const QRect& area, int* row) {
    // A tab's border is a line darker than the faces on both of its sides, tabs are wider than 20 pixels, and
    // the borders run down several rows where a label's strokes do not. The chosen tab stands taller than the
    // others: the row wanted is the first that crosses them all.
    const auto bordersAt = [&](int y) {
        std::vector<int> borders;
        for (int x = area.left() - 2; x < area.right(); ++x) {
            const int here = qGray(At(screen, x, y));
            if (here < qGray(At(screen, x - 1, y)) - 20 && here < qGray(At(screen, x + 1, y)) - 20)
                borders.push_back(x);
        }
        for (size_t i = 1; i < borders.size(); ++i)
            if (borders[i] - borders[i - 1] <= 20)
                return std::vector<int>{};
        return borders;
    };
    // The tabs begin at the first such row; the page under them may cross more lines further down.
    std::vector<int> most;
    int first = -1;
    for (int y = area.top(); y < area.top() + 40 && y <= area.bottom() && (first < 0 || y < first + 8); ++y) {
        const std::vector<int> borders = bordersAt(y);
        if (borders.size() >= 2 && borders.size() > most.size() && borders == bordersAt(y + 1) &&
            borders == bordersAt(y + 2)) {
            most = borders;
            first = first < 0 ? y : first;
            if (row)
                *row = y;
        }
    }
    return most;
}

QPoint PageOrigin(const QImage& screen, const QRect& area, const std::vector<int>& borders, int tabRow) {
    if (borders.empty())
        return {};
    // Right of the last tab the pane's top edge is the first dark line under the tab row; its left edge is the
    // first tab's left border. The page starts inside the frame's two lines.
    const int x = std::min(borders.back() + 20, area.right());
    for (int y = tabRow; y <= area.bottom(); ++y)
        if (qGray(At(screen, x, y)) < 170)
            return QPoint(borders.front() + 2, y + 2);
    return {};
}

std::vector<QRect> MenuBarItems(const QImage& screen, const QRect& bar) {
    std::vector<QRect> items;
    int gap = 1000;
    for (int x = bar.left(); x <= bar.right(); ++x) {
        // Grey labels too: the bar may show them inactive.
        const bool ink = DarkPixels(screen, QRect(x, bar.top(), 1, bar.height()), 170) > 0;
        if (ink && gap > 8)
            items.push_back(QRect(x, bar.top(), 1, bar.height()));
        else if (ink)
            items.back().setRight(x);
        gap = ink ? 0 : gap + 1;
    }
    return items;
}

std::vector<QRect> TextLines(const QImage& screen, const QRect& area) {
    std::vector<QRect> lines;
    int gap = 1000;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const bool ink = DarkPixels(screen, QRect(area.left(), y, area.width(), 1)) > 0;
        if (ink && gap > 2)
            lines.push_back(QRect(area.left(), y, area.width(), 1));
        else if (ink)
            lines.back().setBottom(y);
        gap = ink ? 0 : gap + 1;
    }
    return lines;
}

QRect ColourBox(const QImage& screen, const QRect& area, QRgb colour) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (Same(At(screen, x, y), colour))
                box |= QRect(x, y, 1, 1);
    return box;
}

int DarkPixels(const QImage& screen, const QRect& area, int threshold) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            dark += qGray(At(screen, x, y)) < threshold;
    return dark;
}

bool ShowsSomething(const QImage& picture) {
    if (picture.isNull() || picture.width() < 2 || picture.height() < 2)
        return false;
    std::map<QRgb, int> counts;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ++counts[picture.pixel(x, y) & 0xFFFFFF];
    int most = 0;
    for (const auto& entry : counts)
        most = std::max(most, entry.second);
    return counts.size() > 8 && most < picture.width() * picture.height() * 95 / 100;
}

QString ReadLabel(const QImage& screen, const QRect& area, const QStringList& candidates) {
    const Ink seen = InkOf(screen, area);
    if (seen.Empty())
        return {};
    QString best = "?";
    double bestLikeness = 0.5; // below this the label is none of them
    for (const QString& candidate : candidates) {
        const double likeness = Likeness(seen, Rendered(candidate));
        if (likeness > bestLikeness) {
            bestLikeness = likeness;
            best = candidate;
        }
    }
    return best;
}
