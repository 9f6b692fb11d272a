#include "platform/gui/draw/Icon.h"

#include <QColor>
#include <QImage>

#include <array>
#include <cstring>

// The program's icon and the buttons' icons, drawn for this program pixel by pixel: left (also "less"), right
// (also "more"), up, down and a round centre button. Light falls from the top left; the dark outline keeps each shape
// readable when a disabled button embosses it. "." is transparent.
namespace {

constexpr int kSize = 16;
using Picture = std::array<const char*, kSize>;

const Picture kLeft = {
    "................", "................", ".........oo.....", "........oho.....",
    ".......ohfo.....", "......ohffo.....", ".....ohfffo.....", "....ohffffo.....",
    "....odffffo.....", ".....odfffo.....", "......odffo.....", ".......odfo.....",
    "........odo.....", ".........oo.....", "................", "................",
};

const Picture kRight = {
    "................", "................", ".....oo.........", ".....oho........",
    ".....ofho.......", ".....offho......", ".....offfho.....", ".....offffho....",
    ".....offffdo....", ".....offfdo.....", ".....offdo......", ".....ofdo.......",
    ".....odo........", ".....oo.........", "................", "................",
};

const Picture kUp = {
    "................", "................", "................", "................",
    ".......oo.......", "......ohho......", ".....ohffho.....", "....ohffffho....",
    "...ohffffffho...", "..ohffffffffho..", "..oddddddddddo..", "..oooooooooooo..",
    "................", "................", "................", "................",
};

const Picture kDown = {
    "................", "................", "................", "................",
    "..oooooooooooo..", "..ohhhhhhhhhho..", "..odffffffffdo..", "...odffffffdo...",
    "....odffffdo....", ".....odffdo.....", "......oddo......", ".......oo.......",
    "................", "................", "................", "................",
};

const Picture kCentre = {
    "................", "................", "......oooo......", "....oohhhhoo....",
    "...ohhwwhhffo...", "...ohwwwhfffo...", "..ohhwwhffffdo..", "..ohhhhfffffdo..",
    "..offffffffddo..", "..offffffffddo..", "...offffffddo...", "...odffffdddo...",
    "....ooddddoo....", "......oooo......", "................", "................",
};

// The program's own: a wall of four screens in a dark frame.
const Picture kWall = {
    "................",  ".oooooooooooooo.",  ".ohhhhhhohhhhhho.", ".ohwffffohwffffo.",
    ".ohffffdohffffdo.", ".ohffffdohffffdo.", ".ohdddddohdddddo.", ".oooooooooooooo.",
    ".ohhhhhhohhhhhho.", ".ohwffffohwffffo.", ".ohffffdohffffdo.", ".ohffffdohffffdo.",
    ".ohdddddohdddddo.", ".oooooooooooooo.",  "......oooo......",  "....oooooooo....",
};

QRgb Colour(char c) {
    switch (c) {
    case 'o': return qRgb(20, 45, 95);
    case 'd': return qRgb(36, 74, 150);
    case 'f': return qRgb(58, 110, 200);
    case 'h': return qRgb(130, 172, 235);
    case 'w': return qRgb(240, 246, 255);
    default: return qRgba(0, 0, 0, 0);
    }
}

QImage Draw(const Picture& picture) {
    QImage image(kSize, kSize, QImage::Format_ARGB32);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize && picture[y][x]; ++x)
            image.setPixel(x, y, Colour(picture[y][x]));
    return image;
}

} // namespace

extern void RegisterProgramIcons();
void RegisterProgramIcons() {
    RegisterIconResource(128, Draw(kWall));
    RegisterIconResource(133, Draw(kLeft));
    RegisterIconResource(135, Draw(kRight));
    RegisterIconResource(136, Draw(kUp));
    RegisterIconResource(137, Draw(kDown));
    RegisterIconResource(143, Draw(kCentre));
}
