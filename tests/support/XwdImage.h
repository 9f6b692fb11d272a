#pragma once

#include <QByteArray>
#include <QImage>

#include <string>

// A screen image in the X window dump format, as Xvfb keeps its screen in a file (its -fbdir option): a header of
// big-endian 32-bit fields, the window's name, the colour map, then the pixels of a true-colour screen, three or
// four bytes each, in the byte order the header names. A null image when the data are not such a dump.
QImage ReadXwd(const QByteArray& data);
// The same, read from a file such as the one Xvfb keeps its screen in; a null image when it cannot be read.
QImage ReadXwdFile(const std::string& path);
