#pragma once

#include <QImage>

// A tool-bar picture of three 16 x 15 images: red, green and blue squares (columns 3..12, rows 3..11 of each)
// inside the transparent light grey.
QImage ThreeSquaresStrip();
