#include "Hls.h"

#include "platform/gui/draw/SysColor.h"

#include <algorithm>

namespace {

BYTE TruncatedByte(float value) { return static_cast<BYTE>(static_cast<int>(value) & 0xFF); }

// Channel value of a shifted hue between the two magnitudes.
float HueToValue(float m1, float m2, float hue) {
    if (hue > 360.0f)
        hue -= 360.0f;
    else if (hue < 0.0f)
        hue += 360.0f;
    if (hue < 60.0f)
        return m1 + (m2 - m1) * hue / 60.0f;
    if (hue < 180.0f)
        return m2;
    if (hue < 240.0f)
        return m1 + (m2 - m1) * (240.0f - hue) / 60.0f;
    return m1;
}

// The integer step of HLSTransform on one byte; the result wraps like the byte it is stored in.
BYTE Shift(BYTE value, int percent) {
    if (percent > 0)
        return static_cast<BYTE>(value + (255 - value) * percent / 100);
    if (percent < 0)
        return static_cast<BYTE>((percent + 100) * value / 100);
    return value;
}

} // namespace

DWORD RGBToHLS(COLORREF rgb) {
    const float r = GetRValue(rgb);
    const float g = GetGValue(rgb);
    const float b = GetBValue(rgb);
    const float max = std::max({r, g, b});
    const float min = std::min({r, g, b});
    const float sum = max + min;
    const float l = sum / 510.0f;
    float h = 0.0f;
    float s = 0.0f;
    if (max != min) {
        const float delta = max - min;
        const float rc = (max - r) / delta;
        const float gc = (max - g) / delta;
        const float bc = (max - b) / delta;
        s = l <= 0.5f ? delta / sum : delta / (510.0f - sum);
        // Later tests win, so a maximum shared with blue takes blue's formula.
        if (r == max)
            h = (bc + 6.0f - gc) * 60.0f;
        if (g == max)
            h = (rc + 2.0f - bc) * 60.0f;
        if (b == max)
            h = (gc + 4.0f - rc) * 60.0f;
        if (h > 360.0f)
            h -= 360.0f;
    }
    const BYTE hue = TruncatedByte(h * 255.0f / 360.0f);
    const BYTE luminance = TruncatedByte(l * 255.0f);
    const BYTE saturation = TruncatedByte(s * 255.0f);
    return static_cast<DWORD>(hue) | static_cast<DWORD>(luminance) << 8 | static_cast<DWORD>(saturation) << 16;
}

COLORREF HLSToRGB(DWORD hls) {
    const BYTE hueByte = static_cast<BYTE>(hls & 0xFF);
    const BYTE luminanceByte = static_cast<BYTE>((hls >> 8) & 0xFF);
    const BYTE saturationByte = static_cast<BYTE>((hls >> 16) & 0xFF);
    const float h = static_cast<float>(hueByte) * 360.0f / 255.0f;
    const float l = static_cast<float>(luminanceByte) / 255.0f;
    const float s = static_cast<float>(saturationByte) / 255.0f;
    if (s == 0.0f)
        return RGB(luminanceByte, luminanceByte, luminanceByte);
    const float m2 = l <= 0.5f ? l * (1.0f + s) : l + s - l * s;
    const float m1 = 2.0f * l - m2;
    const BYTE red = TruncatedByte(HueToValue(m1, m2, h + 120.0f) * 255.0f);
    const BYTE green = TruncatedByte(HueToValue(m1, m2, h) * 255.0f);
    const BYTE blue = TruncatedByte(HueToValue(m1, m2, h - 120.0f) * 255.0f);
    return RGB(red, green, blue);
}

COLORREF HLSTransform(COLORREF rgb, int percentL, int percentS) {
    const DWORD hls = RGBToHLS(rgb);
    const BYTE l = Shift(static_cast<BYTE>((hls >> 8) & 0xFF), percentL);
    const BYTE s = Shift(static_cast<BYTE>((hls >> 16) & 0xFF), percentS);
    return HLSToRGB((hls & 0xFF) | static_cast<DWORD>(l) << 8 | static_cast<DWORD>(s) << 16);
}

COLORREF HlsSysColor(int nIndex, int percentL, int percentS) {
    return HLSTransform(GetSysColor(nIndex), percentL, percentS);
}
