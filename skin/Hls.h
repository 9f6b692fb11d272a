#pragma once

#include "platform/os/Types.h"

// Colour arithmetic in hue, luminance and saturation, from which every shade of the flat look is derived.
// A packed value holds hue (0..255 for 0..360 degrees) in byte 0, luminance in byte 1 and saturation in
// byte 2. The arithmetic is single precision and truncates, so shades come out the same on every machine.
DWORD RGBToHLS(COLORREF rgb);
COLORREF HLSToRGB(DWORD hls);
// Moves luminance and saturation by percents: a positive percent that share of the way towards 255, a negative
// one scales the value down by that share.
COLORREF HLSTransform(COLORREF rgb, int percentL, int percentS);
// HLSTransform of a system colour (GetSysColor index), as the flat look derives its shades.
COLORREF HlsSysColor(int nIndex, int percentL, int percentS);
