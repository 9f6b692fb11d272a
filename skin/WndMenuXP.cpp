#include "WndMenuXP.h"

#include "BrushDC.h"
#include "Hls.h"
#include "MenuShadow.h"
#include "MenuXPState.h"
#include "PenDC.h"
#include "WinVersionXP.h"

#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/SysColor.h"

namespace {

// The system draws no menu shadow of its own below this version code.
constexpr int kSystemShadowVersion = 8;
constexpr int kShadow = 4;
// Menu windows keep a three-line frame outside the items' client area; Qt's menus have none, so the record
// makes room for it.
constexpr int kFrame = 3;

bool DrawsOwnShadow() { return GetWinVersionXP() < kSystemShadowVersion; }

} // namespace

CWndMenuXP::CWndMenuXP(CMenuWindow* hWnd) : m_hWnd(hWnd) {}

CWndMenuXP::~CWndMenuXP() {
    if (m_hBitmap)
        DeleteObject(m_hBitmap);
}

CWndMenuXP* CWndMenuXP::FromHandle(CMenuWindow* hWnd, bool bExistingOnly) {
    auto& windows = TheMenuXPState().menuWindows;
    if (auto it = windows.find(hWnd); it != windows.end())
        return it->second.get();
    if (bExistingOnly || !hWnd)
        return nullptr;
    auto& slot = windows[hWnd];
    slot = std::make_unique<CWndMenuXP>(hWnd);
    return slot.get();
}

void CWndMenuXP::OnWindowPosChanging(WINDOWPOS* lpWndPos) {
    lpWndPos->cx += 2 * kFrame;
    lpWndPos->cy += 2 * kFrame;
    if (DrawsOwnShadow()) {
        lpWndPos->cx += kShadow;
        lpWndPos->cy += kShadow;
    }
    lpWndPos->y -= 1;
    m_x = lpWndPos->x;
    m_y = lpWndPos->y;
}

void CWndMenuXP::OnNcCalcSize(LPRECT lpClientRect) {
    InflateRect(lpClientRect, -kFrame, -kFrame);
    if (DrawsOwnShadow()) {
        lpClientRect->right -= kShadow;
        lpClientRect->bottom -= kShadow;
    }
}

void CWndMenuXP::OnEraseBkgnd() {
    if (m_hWnd->IsWindowVisible())
        return;
    if (m_hBitmap) {
        DeleteObject(m_hBitmap);
        m_hBitmap = nullptr;
    }
    CRect client;
    m_hWnd->GetClientRect(&client);
    const int border = 2 * kFrame + kShadow;
    const CRect behind(m_x, m_y, m_x + client.Width() + border, m_y + client.Height() + border);
    m_hBitmap = CaptureScreenRect(&behind);
}

void CWndMenuXP::DrawFrame(CDC* pDC, const CRect& rcWindow) {
    CRect rect = rcWindow;
    if (DrawsOwnShadow()) {
        rect.right -= kShadow;
        rect.bottom -= kShadow;
    }
    CBrushDC brush(pDC->m_hDC, CLR_NONE);
    CPenDC pen(pDC->m_hDC, GetSysColor(COLOR_3DDKSHADOW));
    pDC->Rectangle(&rect);
    pen.SetColor(HlsSysColor(COLOR_3DFACE, +75, 0));
    for (int line = 1; line < kFrame; ++line) {
        rect.DeflateRect(1, 1);
        pDC->Rectangle(&rect);
    }

    // Under an open menu-bar item the top line opens into the item: the line spans the item's inside, between
    // the item's dark side lines.
    const CRect& bar = TheMenuXPState().barItemRect;
    if (!bar.IsRectEmpty() && bar.bottom == m_y + 1) {
        pen.SetColor(HlsSysColor(COLOR_3DFACE, +20, 0));
        pDC->MoveTo(bar.left - m_x + 1, 0);
        pDC->LineTo(bar.right - m_x - 1, 0);
    }
}

void CWndMenuXP::OnPrint(CDC* pDC) {
    CRect window;
    m_hWnd->GetWindowRect(&window);
    window.OffsetRect(-window.left, -window.top);
    DrawFrame(pDC, window);
    if (!DrawsOwnShadow() || !m_hBitmap)
        return;
    CDC memory;
    if (!memory.CreateCompatibleDC(pDC))
        return;
    HGDIOBJ old = memory.SelectObject(reinterpret_cast<HGDIOBJ>(m_hBitmap));
    const int width = window.Width();
    const int height = window.Height();
    // The corners outside the shadow's taper show the screen unchanged.
    pDC->BitBlt(0, height - kShadow, 2 * kShadow, kShadow, &memory, 0, height - kShadow, SRCCOPY);
    pDC->BitBlt(width - kShadow, height - kShadow, kShadow, kShadow, &memory, width - kShadow, height - kShadow,
                SRCCOPY);
    pDC->BitBlt(width - kShadow, 0, kShadow, 2 * kShadow, &memory, width - kShadow, 0, SRCCOPY);
    const CRect shadow(2, 2, width, height);
    DrawMenuShadow(memory.m_hDC, pDC->m_hDC, &shadow);
    memory.SelectObject(old);
}
