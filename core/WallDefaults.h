#pragma once

// Start values and limits for settings that the settings file may lack or hold out of range. They live here,
// together, so that every reader falls back the same way.

// A port record that no settings filled (a COMM section without its numbers, an independent matrix port
// without settings): 9600 baud, 8 data bits, one stop bit, no parity.
constexpr int kDefaultBaudRate = 9600;
constexpr int kDefaultDataBits = 8;
constexpr int kDefaultStopBits = 0;
constexpr int kDefaultParity = 0;

// A wall without LCDWALL row and col in the settings file starts as the smallest real wall.
constexpr int kDefaultWallRows = 2;
constexpr int kDefaultWallCols = 2;
// A wall has 1 to 16 rows and 1 to 16 columns: an area carries a unit's row and column in four bits each.
constexpr int kMinWallRows = 1;
constexpr int kMinWallCols = 1;
constexpr int kMaxWallRows = 16;
constexpr int kMaxWallCols = 16;

// A matrix has at most 9999 channels, so no unit is fed by an output above that; 0 in the output map stands for
// the unit's own number.
constexpr int kMaxMatrixChannel = 9999;

// The output resolution index when LCDWALL pixel is missing or names no table entry: 1024 x 768.
constexpr int kDefaultResolutionIndex = 0;

// The frame effect without a FRAMEEFFECT section, or with a value missing: off, 0, 0.
constexpr int kDefaultFrameEffectEnabled = 0;
constexpr int kDefaultFrameEffectValue = 0;
