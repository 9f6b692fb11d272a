#pragma once

#include "GdiObject.h"

class CDC;
class QFont;

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    static CFont* FromHandle(HFONT font);
    operator HFONT() const { return reinterpret_cast<HFONT>(m_hObject); } // NOLINT

    BOOL CreateFontIndirect(const LOGFONT* logFont);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                    BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, LPCTSTR faceName);
    // pointSize in tenths of a point, at the device's vertical resolution (the screen's without a DC).
    BOOL CreatePointFont(int pointSize, LPCTSTR faceName, CDC* dc = nullptr);
    int GetLogFont(LOGFONT* logFont) const;
};

// The Qt font that draws a LOGFONT, and the LOGFONT that describes a Qt font (pixel heights, GBK face).
QFont QFontFromLogFont(const LOGFONT& logFont);
LOGFONT LogFontFromQFont(const QFont& font);
