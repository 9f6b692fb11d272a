#include "WndBridge.h"

#include "ClientDC.h"
#include "HostWidget.h"
#include "WindowDC.h"
#include "platform/gui/draw/DC.h"

#include <QPainter>

using namespace wndimpl;

// ---------------------------------------------------------------------------------------------------------------
// Painting

void CWnd::Invalidate(BOOL bErase) { InvalidateRect(nullptr, bErase); }

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
    QWidget* widget = GetHostWidget();
    if (!widget)
        return;
    CRect client;
    GetClientRect(&client);
    QRect r(client.left, client.top, client.Width(), client.Height());
    if (lpRect)
        r = r.intersected(ToQRect(*lpRect));
    if (r.isEmpty())
        return;
    if (m_bridge->m_host) {
        m_bridge->m_invalid += r;
        if (bErase)
            m_bridge->m_erase = true;
        widget->update(r.translated(ClientOriginOf(widget)));
    } else {
        widget->update(r);
    }
}

void CWnd::ValidateRect(LPCRECT lpRect) {
    if (!GetHostWidget())
        return;
    if (!lpRect) {
        m_bridge->m_invalid = QRegion();
        m_bridge->m_erase = false;
        return;
    }
    m_bridge->m_invalid -= ToQRect(*lpRect);
}

void CWnd::UpdateWindow() {
    QWidget* widget = GetHostWidget();
    if (!widget || !widget->isVisible())
        return;
    if (m_bridge->m_host)
        m_bridge->DispatchPaint();
    else
        widget->repaint();
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, void* prgnUpdate, UINT flags) {
    if (!GetHostWidget() || prgnUpdate)
        return FALSE;
    if (flags & RDW_INVALIDATE)
        InvalidateRect(lpRectUpdate, (flags & RDW_ERASE) ? TRUE : FALSE);
    if (flags & RDW_VALIDATE)
        ValidateRect(lpRectUpdate);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW))
        UpdateWindow();
    return TRUE;
}

BOOL CWnd::GetUpdateRect(LPRECT lpRect, BOOL /*bErase*/) {
    const QRect r = GetHostWidget() ? m_bridge->m_invalid.boundingRect() : QRect();
    if (lpRect)
        *lpRect = r.isEmpty() ? RECT{0, 0, 0, 0} : RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    return r.isEmpty() ? FALSE : TRUE;
}

QImage* CWnd::GetClientImage() {
    QWidget* widget = GetHostWidget();
    if (!widget)
        return nullptr;
    if (m_bridge->m_host)
        return m_bridge->m_host->ClientImage();
    QImage& image = m_bridge->m_image;
    if (image.size() != widget->size()) {
        if (widget->size().isEmpty()) {
            image = QImage();
        } else {
            QImage resized(widget->size(), QImage::Format_RGB32);
            resized.fill(Qt::white);
            if (!image.isNull()) {
                QPainter p(&resized);
                p.drawImage(0, 0, image);
            }
            image = resized;
        }
    }
    return &image;
}

QRegion CWnd::GetPaintRegion() const {
    if (GetHostWidget() && m_bridge->m_inPaint)
        return m_bridge->m_paintRegion;
    CRect client;
    GetClientRect(&client);
    return QRegion(client.left, client.top, client.Width(), client.Height());
}

CRect CWnd::GetPaintRect() const {
    if (GetHostWidget() && m_bridge->m_inPaint) {
        const QRect& r = m_bridge->m_paintRect;
        return CRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    }
    CRect client;
    GetClientRect(&client);
    return client;
}

void CWnd::UpdateScreen(const RECT* rect) {
    QWidget* widget = GetHostWidget();
    // Inside Qt's paint event the whole painted region is copied anyway: a control's own paint (it has no host) is
    // always one, and asking for another from there would paint it for ever.
    if (!widget || m_bridge->m_inQtPaint || (m_bridge->m_inPaint && !m_bridge->m_host))
        return;
    const QPoint origin = ClientOriginOf(widget);
    if (!rect) {
        CRect client;
        GetClientRect(&client);
        widget->update(QRect(origin, QSize(client.Width(), client.Height())));
        return;
    }
    widget->update(ToQRect(*rect).translated(origin));
}

CDC* CWnd::GetDC() {
    if (IsDesktop(this)) {
        auto* dc = new CDC;
        dc->Attach(GetScreenDC());
        return dc;
    }
    return GetHostWidget() ? new CClientDC(this) : nullptr;
}

CDC* CWnd::GetWindowDC() { return IsDesktop(this) ? GetDC() : GetHostWidget() ? new CWindowDC(this) : nullptr; }

int CWnd::ReleaseDC(CDC* pDC) {
    if (!pDC)
        return 0;
    delete pDC;
    return 1;
}
