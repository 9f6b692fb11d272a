#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

// Finding what the program drew on the screen: its panes by their sunken edges, the wall's cells by their grid
// lines, the tabs of the property sheet by their borders, a window by its colour; and reading a cell's label.
// Every function answers an empty result when the screen does not show what it looks for.

// The inner edge of a sunken border (the dark grey line, then the darker one) met going down a column from y0
// to y1, or going right along a row from x0 to x1: the first pixel inside it; -1 when there is none.
int SunkenTopBelow(const QImage& screen, int x, int y0, int y1);
int SunkenLeftRightOf(const QImage& screen, int y, int x0, int x1);
// The last pixel inside a sunken border's right (bottom) edge, going right along a row (down a column).
int SunkenRightFrom(const QImage& screen, int y, int x0, int x1);
int SunkenBottomFrom(const QImage& screen, int x, int y0, int y1);

// The wall view's cells as its grid lines divide it: cell (row, column), both from 0, in screen pixels.
struct WallGrid {
    QRect client;
    std::vector<int> columnLines; // x of the grid line right of each column
    std::vector<int> rowLines;    // y of the grid line under each row
    int Rows() const { return int(rowLines.size()); }
    int Columns() const { return int(columnLines.size()); }
    QRect Cell(int row, int column) const;
    QPoint Centre(int row, int column) const { return Cell(row, column).center(); }
};
WallGrid ReadWallGrid(const QImage& screen, const QRect& client);

// The tabs of a tab bar at the top of the area, left to right: the x of each tab's left border and, last, the
// right border of the last tab.
std::vector<int> TabBorders(const QImage& screen, const QRect& area, int* row = nullptr);
// The top-left pixel of the page under the tabs: inside the pane's frame.
QPoint PageOrigin(const QImage& screen, const QRect& area, const std::vector<int>& borders, int tabRow);

// The items of a menu bar, left to right: the spans of its labels' dark pixels, apart by more than a space.
std::vector<QRect> MenuBarItems(const QImage& screen, const QRect& bar);

// The lines of text of a menu or a list, top to bottom: the spans of rows holding dark pixels, apart by more than
// two rows.
std::vector<QRect> TextLines(const QImage& screen, const QRect& area);

// The smallest rectangle holding every pixel of the colour inside the area; null when none is there.
QRect ColourBox(const QImage& screen, const QRect& area, QRgb colour);
// How many pixels of the area are darker than the threshold (grey level 0 to 255).
int DarkPixels(const QImage& screen, const QRect& area, int threshold = 100);
// A picture that is not blank: more than a few colours, and no colour covering nearly all of it.
bool ShowsSomething(const QImage& picture);

// Reads the label drawn in a cell: which of the candidate texts, drawn as the program draws cell labels (one line,
// centred), matches the dark pixels of the area best; an empty text when the area holds no dark pixel at all.
// Needs a QGuiApplication.
QString ReadLabel(const QImage& screen, const QRect& area, const QStringList& candidates);
