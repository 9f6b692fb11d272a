#pragma once

#include "Gdi.h"

#include "platform/os/Object.h"
#include "platform/os/Point.h"
#include "platform/os/Rect.h"
#include "platform/os/String.h"

class CBitmap;
class CBrush;
class CFont;
class CGdiObject;
class CPen;
class CRgn;
class CWnd;
class QImage;
class QPaintDevice;
class QPainter;

// A device context: drawing state (objects, colours, modes, mapping, clipping) kept in its handle, and the
// drawing calls with the platform's device rules: right and bottom edges exclusive, LineTo leaves out its
// end point, no antialiasing, one pixel per logical unit under MM_TEXT, texts in GBK.
//
// Everything lives in the handle, so derived DCs may share another DC's handles (m_hDC, m_hAttribDC) and
// drop them before they are destroyed, as buffered DCs do when printing.
class CDC : public CObject {
    DECLARE_DYNCREATE(CDC)
public:
    CDC() = default;
    ~CDC() override;

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    BOOL m_bPrinting = FALSE;

    operator HDC() const { return m_hDC; } // NOLINT: the framework converts implicitly
    HDC GetSafeHdc() const { return m_hDC; }
    // A lasting wrapper of a handle (owning nothing); null for a null handle.
    static CDC* FromHandle(HDC dc);
    BOOL Attach(HDC dc);
    HDC Detach();
    BOOL DeleteDC();

    // A memory DC: a 1 x 1 monochrome bitmap until a bitmap is selected. dc may be null.
    BOOL CreateCompatibleDC(CDC* dc);
    // Draws on an image owned elsewhere (kept alive by the caller until DetachImage or the end of the DC).
    BOOL AttachImage(QImage* image);
    void DetachImage();
    // Draws on any paint device, such as a PDF writer; a painter stays open on it until DetachPaintDevice
    // or the end of the DC (ending the painter of a PDF writer finishes the file). GetDeviceCaps answers
    // from the device. The painter is exposed for a printer that starts new pages.
    BOOL AttachPaintDevice(QPaintDevice* device);
    void DetachPaintDevice();
    QPainter* GetPainter() const;
    // Draws through a painter someone else opened (a style drawing a menu item, a widget's paint event), in
    // its coordinates and inside its clip; the painter must outlive the DC or DetachPainter.
    BOOL AttachPainter(QPainter* painter);
    void DetachPainter();
    BOOL IsPrinting() const { return m_bPrinting; }
    // A memory DC that draws many things on its bitmap in a row (a whole paint) keeps one painter open on it
    // instead of opening one per call, until this is turned off, another bitmap is selected or the DC ends.
    // Drawing looks the same either way; another DC drawing on the same bitmap meanwhile goes through it too.
    void KeepPainterOpen(BOOL keep);
    // The window whose retained image this DC draws on, if any.
    CWnd* GetWindow() const;

    // State.
    int SaveDC();
    BOOL RestoreDC(int savedDC);
    int GetDeviceCaps(int index) const;
    // Makes GetDeviceCaps answer value for index (tests act out a two-colour printer this way).
    void OverrideDeviceCaps(int index, int value);

    // Objects. Each returns the object selected before (a lasting wrapper when it was not made by a wrapper
    // that still exists), or null when nothing changed.
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    int SelectObject(CRgn* region);
    CGdiObject* SelectStockObject(int index);
    CGdiObject* SelectObject(CGdiObject* object);
    HGDIOBJ SelectObject(HGDIOBJ object);
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;

    // Colours and modes.
    COLORREF GetBkColor() const;
    COLORREF SetBkColor(COLORREF color);
    int GetBkMode() const;
    int SetBkMode(int mode);
    COLORREF GetTextColor() const;
    COLORREF SetTextColor(COLORREF color);
    int GetROP2() const;
    int SetROP2(int mode);
    int GetStretchBltMode() const;
    int SetStretchBltMode(int mode);
    UINT GetTextAlign() const;
    UINT SetTextAlign(UINT flags);
    CPoint SetBrushOrg(int x, int y);
    CPoint SetBrushOrg(POINT point) { return SetBrushOrg(point.x, point.y); }
    CPoint GetBrushOrg() const;

    // Mapping.
    int GetMapMode() const;
    int SetMapMode(int mode);
    CPoint GetWindowOrg() const;
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }
    CPoint OffsetWindowOrg(int dx, int dy);
    CPoint GetViewportOrg() const;
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
    CPoint OffsetViewportOrg(int dx, int dy);
    CSize GetWindowExt() const;
    CSize SetWindowExt(int cx, int cy);
    CSize SetWindowExt(SIZE size) { return SetWindowExt(size.cx, size.cy); }
    CSize GetViewportExt() const;
    CSize SetViewportExt(int cx, int cy);
    CSize SetViewportExt(SIZE size) { return SetViewportExt(size.cx, size.cy); }
    void DPtoLP(LPPOINT points, int count = 1) const;
    void DPtoLP(LPRECT rect) const;
    void DPtoLP(LPSIZE size) const;
    void LPtoDP(LPPOINT points, int count = 1) const;
    void LPtoDP(LPRECT rect) const;
    void LPtoDP(LPSIZE size) const;

    // Clipping; the results are region kinds (NULLREGION, SIMPLEREGION, COMPLEXREGION) or ERROR.
    int GetClipBox(LPRECT rect) const;
    int IntersectClipRect(int left, int top, int right, int bottom);
    int IntersectClipRect(LPCRECT rect);
    int ExcludeClipRect(int left, int top, int right, int bottom);
    int ExcludeClipRect(LPCRECT rect);
    int SelectClipRgn(CRgn* region);
    int SelectClipRgn(CRgn* region, int mode);
    int OffsetClipRgn(int dx, int dy);
    BOOL PtVisible(int x, int y) const;
    BOOL PtVisible(POINT point) const { return PtVisible(point.x, point.y); }
    BOOL RectVisible(LPCRECT rect) const;

    // Lines and shapes, drawn with the selected pen and brush and the mix mode.
    CPoint GetCurrentPosition() const;
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
    BOOL Polyline(const POINT* points, int count);
    BOOL Rectangle(int left, int top, int right, int bottom);
    BOOL Rectangle(LPCRECT rect);
    BOOL Ellipse(int left, int top, int right, int bottom);
    BOOL Ellipse(LPCRECT rect);
    BOOL Polygon(const POINT* points, int count);
    BOOL RoundRect(int left, int top, int right, int bottom, int width, int height);

    // Fills and frames. Rectangles leave out their right and bottom edges.
    void FillRect(LPCRECT rect, CBrush* brush);
    void FillRect(LPCRECT rect, HBRUSH brush);
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void FrameRect(LPCRECT rect, CBrush* brush);
    void FrameRect(LPCRECT rect, HBRUSH brush);
    void InvertRect(LPCRECT rect);
    void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags);
    // A dotted frame drawn with XOR: drawing it twice removes it.
    void DrawFocusRect(LPCRECT rect);
    BOOL FillRgn(CRgn* region, CBrush* brush);
    BOOL FrameRgn(CRgn* region, CBrush* brush, int width, int height);

    // Pixels.
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT point) const { return GetPixel(point.x, point.y); }
    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF SetPixel(POINT point, COLORREF color) { return SetPixel(point.x, point.y, color); }
    BOOL SetPixelV(int x, int y, COLORREF color);

    // Block transfers with the raster operations (SRCCOPY, SRCAND, SRCPAINT, SRCINVERT, PATCOPY, ...).
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth, int srcHeight,
                    DWORD rop);
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop);

    // Text, in GBK bytes; count -1 means up to the terminating zero.
    // DrawText follows the DT_ flags for the horizontal alignment, DT_VCENTER and DT_BOTTOM on a single line,
    // DT_SINGLELINE, DT_WORDBREAK, DT_END_ELLIPSIS on a line of its own, the prefix flags, DT_NOCLIP,
    // DT_EXTERNALLEADING and DT_CALCRECT. Not supported, as the program asks for none of them: DT_EXPANDTABS and
    // DT_TABSTOP (a tab is drawn as the font draws it), DT_WORD_ELLIPSIS and DT_PATH_ELLIPSIS (the text is cut at
    // its end, as with DT_END_ELLIPSIS), DT_END_ELLIPSIS together with DT_WORDBREAK (each wrapped line wider than
    // the rectangle is cut on its own), DT_EDITCONTROL, DT_MODIFYSTRING and DT_RTLREADING.
    int DrawText(LPCTSTR text, int count, LPRECT rect, UINT format);
    int DrawText(const CString& text, LPRECT rect, UINT format);
    BOOL TextOut(int x, int y, LPCTSTR text, int count);
    BOOL TextOut(int x, int y, const CString& text);
    // ETO_OPAQUE and ETO_CLIPPED. Spacing the characters by a widths array is not supported: a call that passes
    // one draws nothing and answers FALSE.
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCTSTR text, UINT count, const int* widths);
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text, const int* widths);
    CSize GetTextExtent(LPCTSTR text, int count) const;
    CSize GetTextExtent(const CString& text) const;
    CSize GetOutputTextExtent(LPCTSTR text, int count) const { return GetTextExtent(text, count); }
    CSize GetOutputTextExtent(const CString& text) const { return GetTextExtent(text); }
    BOOL GetTextMetrics(LPTEXTMETRIC metrics) const;
    BOOL GetOutputTextMetrics(LPTEXTMETRIC metrics) const { return GetTextMetrics(metrics); }
    int GetTextFace(int count, LPTSTR faceName) const;

    // Icons, and pictures in a state: DSS_DISABLED embosses, DSS_MONO draws the shape in the brush colour.
    BOOL DrawIcon(int x, int y, HICON icon);
    BOOL DrawIcon(POINT point, HICON icon) { return DrawIcon(point.x, point.y, icon); }
    BOOL DrawState(CPoint point, CSize size, HICON icon, UINT flags, HBRUSH brush = nullptr);
    BOOL DrawState(CPoint point, CSize size, HICON icon, UINT flags, CBrush* brush);
    BOOL DrawState(CPoint point, CSize size, HBITMAP bitmap, UINT flags, HBRUSH brush = nullptr);
    BOOL DrawState(CPoint point, CSize size, CBitmap* bitmap, UINT flags, CBrush* brush = nullptr);
    BOOL DrawState(CPoint point, CSize size, LPCTSTR text, UINT flags, BOOL prefixText = TRUE, int textLength = 0,
                   HBRUSH brush = nullptr);
    BOOL DrawState(CPoint point, CSize size, LPCTSTR text, UINT flags, BOOL prefixText, int textLength, CBrush* brush);

private:
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
};

// Device contexts by handle, for code written against the handles.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
// A colour bitmap, as CBitmap::CreateCompatibleBitmap makes; null for a dc that is not live.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
int GetClipBox(HDC dc, LPRECT rect);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
// The screen's DC (dc of no window): draws nothing visible, measures text, and copies the screen as a
// source. Released with ReleaseScreenDC (or DeleteDC).
HDC GetScreenDC();
int ReleaseScreenDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
COLORREF GetTextColor(HDC dc);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF SetBkColor(HDC dc, COLORREF color);
int SetBkMode(HDC dc, int mode);
// The previous origin goes to previous when given.
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous);
int GetDeviceCaps(HDC dc, int index);
BOOL DrawState(HDC dc, HBRUSH brush, void* callback, LPARAM data, WPARAM dataSize, int x, int y, int cx, int cy,
               UINT flags);
inline BOOL DrawStateA(HDC dc, HBRUSH brush, void* callback, LPARAM data, WPARAM dataSize, int x, int y, int cx, int cy,
                       UINT flags) {
    return DrawState(dc, brush, callback, data, dataSize, x, y, cx, cy, flags);
}
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc, DWORD rop);
COLORREF GetPixel(HDC dc, int x, int y);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
int DrawText(HDC dc, LPCTSTR text, int count, LPRECT rect, UINT format);
inline int DrawTextA(HDC dc, LPCTSTR text, int count, LPRECT rect, UINT format) {
    return DrawText(dc, text, count, rect, format);
}
BOOL GetTextExtentPoint32(HDC dc, LPCTSTR text, int count, LPSIZE size);
inline BOOL GetTextExtentPoint32A(HDC dc, LPCTSTR text, int count, LPSIZE size) {
    return GetTextExtentPoint32(dc, text, count, size);
}
// UTF-16 text of exactly count units, measured in the DC's font.
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size);
BOOL GetTextMetrics(HDC dc, LPTEXTMETRIC metrics);
