#include "WallWindow.h"

#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/window/PaintDC.h"
#include "platform/gui/window/WindowClass.h"
#include "platform/os/Version.h"

namespace {

constexpr const char* kClassName = "MyWallWindow";
constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_THICKFRAME | WS_TABSTOP;
// As the buttons draw it, clear of the name at (6, 6).
constexpr int kFocusInset = 3;

// Newer systems draw the thick frame wide: the window takes it into its client area.
int BorderWidthForSystem() {
    OSVERSIONINFO version{};
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExA(&version);
    return version.dwMajorVersion > 5 ? 4 : 0;
}

} // namespace

CWallWindow::CWallWindow(COLORREF colour, CString name)
    : m_colour(colour), m_name(std::move(name)), m_borderWidth(BorderWidthForSystem()) {
    RegisterWindowClass();
}

CWallWindow::~CWallWindow() { DestroyWindow(); }

BOOL CWallWindow::RegisterWindowClass() {
    RegisterWindowClassOnce(kClassName, CS_DBLCLKS, COLOR_WINDOW);
    return TRUE;
}

BOOL CWallWindow::Create(RECT r, CWnd* parent, UINT id) {
    return CWnd::Create(kClassName, nullptr, kStyle, r, parent, id);
}

void CWallWindow::DrawContent(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, m_colour);
    pDC->TextOut(6, 6, m_name);
}

CRect CWallWindow::FocusRect() const {
    CRect client;
    GetClientRect(&client);
    client.DeflateRect(kFocusInset, kFocusInset);
    return client;
}

void CWallWindow::OnPaint() {
    CPaintDC dc(this);
    DrawContent(&dc);
    if (GetFocus() == this) {
        const CRect focus = FocusRect();
        dc.DrawFocusRect(&focus);
    }
}

void CWallWindow::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    Invalidate();
}

void CWallWindow::OnSetFocus(CWnd* pOldWnd) {
    CWnd::OnSetFocus(pOldWnd);
    InvalidateFocusRect();
}

void CWallWindow::OnKillFocus(CWnd* pNewWnd) {
    CWnd::OnKillFocus(pNewWnd);
    InvalidateFocusRect();
}

// The focus shows only in the dotted frame's lines: the face stays as it is.
void CWallWindow::InvalidateFocusRect() {
    const CRect focus = FocusRect();
    InvalidateFrame(&focus, TRUE);
}

void CWallWindow::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
    Default();
    RECT* client = bCalcValidRects ? &lpncsp->rgrc[0] : reinterpret_cast<RECT*>(lpncsp);
    client->left -= m_borderWidth;
    client->top -= m_borderWidth;
    client->right += m_borderWidth;
    client->bottom += m_borderWidth;
}

void CWallWindow::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/) {
    // A press anywhere inside starts the system's move loop, as a press on a caption would.
    SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, 2);
}
