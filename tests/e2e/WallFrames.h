#pragma once

#include <QRect>

#include <string>
#include <vector>

// The frames the wall must receive, built from the sample command definitions (res/command.xml) by the wall's
// frame layout: 0xD5, the area as (first × 16) | second and (third × 16) | fourth, the code, the fixed parameter
// or the value, 0xAA; window frames carry 0xAB, the rectangle's left, top, width and height as 16-bit numbers
// with the high byte first, and 0xAA.
struct Area {
    int left, top, right, bottom;
};
std::vector<unsigned char> ShortFrame(const std::string& command, Area area, int value = 0);
std::vector<unsigned char> WindowFrame(const std::string& command, Area area, const QRect& wall);
// The rectangle a window frame carries: left, top, right and bottom; a null rectangle when the bytes are no
// window frame.
QRect WallRectOf(const std::vector<unsigned char>& frame);
