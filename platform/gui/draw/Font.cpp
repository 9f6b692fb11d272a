#include "Font.h"

#include "DC.h"
#include "GdiHandle.h"
#include "platform/gui/base/GbkString.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CFont, CGdiObject)

QFont QFontFromLogFont(const LOGFONT& lf) {
    QFont font = QGuiApplication::font();
    const std::string face(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
    // The face the application font comes out as keeps that font's own family, so that Qt finds the font it
    // already loaded instead of looking the face up and loading it a second time.
    if (const QString family = GbkToQString(face); !face.empty() && family != QFontInfo(font).family())
        font.setFamily(family);
    if (lf.lfHeight < 0) {
        font.setPixelSize(static_cast<int>(std::min<LONG>(-static_cast<int64_t>(lf.lfHeight), 4096)));
    } else if (lf.lfHeight > 0) {
        // A positive height is the whole cell (ascent plus descent); scale the character height to fit it.
        const int cell = static_cast<int>(std::min<LONG>(lf.lfHeight, 4096));
        font.setPixelSize(cell);
        const int measured = QFontMetrics(font).height();
        if (measured > 0)
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(double(cell) * cell / measured))));
    } else {
        font.setPixelSize(std::max(1, QFontInfo(QGuiApplication::font()).pixelSize()));
    }
    if (lf.lfWeight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp<LONG>(lf.lfWeight, 1, 1000)));
    else
        font.setWeight(QFont::Normal);
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    font.setStyleStrategy(lf.lfQuality == NONANTIALIASED_QUALITY ? QFont::NoAntialias : QFont::PreferDefault);
    font.setKerning(false);
    return font;
}

LOGFONT LogFontFromQFont(const QFont& font) {
    LOGFONT lf{};
    lf.lfHeight = -std::max(1, QFontInfo(font).pixelSize());
    lf.lfWeight = font.weight();
    lf.lfItalic = font.italic() ? 1 : 0;
    lf.lfUnderline = font.underline() ? 1 : 0;
    lf.lfStrikeOut = font.strikeOut() ? 1 : 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    std::string face = QStringToGbk(QFontInfo(font).family()).value_or(std::string());
    // Cut at a character boundary so no double-byte character loses its trail byte.
    size_t keep = 0;
    while (keep < face.size()) {
        const size_t width = (static_cast<unsigned char>(face[keep]) >= 0x81 && keep + 1 < face.size()) ? 2 : 1;
        if (keep + width > LF_FACESIZE - 1)
            break;
        keep += width;
    }
    std::memcpy(lf.lfFaceName, face.data(), keep);
    return lf;
}

CFont* CFont::FromHandle(HFONT font) {
    return static_cast<CFont*>(CGdiObject::FromHandle(GdiHandle::Checked<HFONT__>(font, OBJ_FONT)));
}

BOOL CFont::CreateFontIndirect(const LOGFONT* logFont) { return Attach(::CreateFontIndirect(logFont)); }

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                       BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                       BYTE pitchAndFamily, LPCTSTR faceName) {
    LOGFONT lf{height,    width,   escapement,   orientation,   weight,  italic,         underline,
               strikeOut, charSet, outPrecision, clipPrecision, quality, pitchAndFamily, {}};
    if (faceName)
        std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

BOOL CFont::CreatePointFont(int pointSize, LPCTSTR faceName, CDC* dc) {
    const int dpi = dc ? dc->GetDeviceCaps(LOGPIXELSY) : 96;
    LOGFONT lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(double(pointSize) * dpi / 720.0));
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    if (faceName)
        std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* logFont) const { return GetObject(sizeof(LOGFONT), logFont); }
