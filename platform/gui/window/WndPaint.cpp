#include "WndBridge.h"

#include "ClientDC.h"
#include "HostWidget.h"
#include "WindowDC.h"
#include "platform/gui/draw/DC.h"

#include <QBackingStore>
#include <QPaintEngine>
#include <QPainter>
#include <QPointer>
#include <QWindow>

using namespace wndimpl;

// ---------------------------------------------------------------------------------------------------------------
// Painting. A window paints straight on the screen in Qt's paint event. One that draws outside its paints (a DC
// taken between them) keeps a retained image from then on, which its paints draw on and Qt's paint events copy,
// until the screen again shows what its paints draw.

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
    if (m_bridge->m_qt.host) {
        m_bridge->m_invalid.region += r;
        if (bErase)
            m_bridge->m_invalid.erase = true;
        widget->update(r.translated(ClientOriginOf(widget)));
    } else {
        widget->update(r);
    }
}

void CWnd::ValidateRect(LPCRECT lpRect) {
    if (!GetHostWidget())
        return;
    if (!lpRect) {
        m_bridge->m_invalid.region = QRegion();
        m_bridge->m_invalid.erase = false;
        return;
    }
    m_bridge->m_invalid.region -= ToQRect(*lpRect);
}

void CWnd::UpdateWindow() {
    QWidget* widget = GetHostWidget();
    if (!widget || !widget->isVisible())
        return;
    if (m_bridge->m_qt.host)
        m_bridge->UpdateNow();
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
    const QRect r = GetHostWidget() ? m_bridge->m_invalid.region.boundingRect() : QRect();
    if (lpRect)
        *lpRect = r.isEmpty() ? RECT{0, 0, 0, 0} : RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    return r.isEmpty() ? FALSE : TRUE;
}

QImage* CWnd::GetClientImage() { return GetHostWidget() ? m_bridge->ImageToDrawOn() : nullptr; }

QRegion CWnd::GetPaintRegion() const {
    if (GetHostWidget() && m_bridge->m_paint.active)
        return m_bridge->m_paint.region;
    CRect client;
    GetClientRect(&client);
    return QRegion(client.left, client.top, client.Width(), client.Height());
}

CRect CWnd::GetPaintRect() const {
    if (GetHostWidget() && m_bridge->m_paint.active) {
        const QRect& r = m_bridge->m_paint.rect;
        return CRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    }
    CRect client;
    GetClientRect(&client);
    return client;
}

void CWnd::UpdateScreen(const RECT* rect) {
    QWidget* widget = GetHostWidget();
    // Only a retained image holds what the screen does not show yet. Inside Qt's paint event the whole painted
    // region is copied anyway: a control's own paint (it has no host) is always one, and asking for another from
    // there would paint it for ever.
    if (!widget || !m_bridge->KeepsImage() || m_bridge->m_paint.inQtPaint ||
        (m_bridge->m_paint.active && !m_bridge->m_qt.host))
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

// ---------------------------------------------------------------------------------------------------------------
// What the DCs on a window draw on.

namespace wndimpl {

int& QtPaintDepth() {
    static int depth = 0;
    return depth;
}

bool PaintsBackingStore(const QWidget* widget, const QPainter& painter) {
    QBackingStore* store = widget ? widget->backingStore() : nullptr;
    return store && painter.paintEngine() && painter.paintEngine()->paintDevice() == store->paintDevice();
}

} // namespace wndimpl

QSize CWndBridge::ClientSize() const {
    if (m_qt.host)
        return m_qt.host->ClientRectInWidget().size();
    return m_qt.widget ? m_qt.widget->size() : QSize();
}

LentPainter* CWndBridge::LentScreen() {
    if (!m_paint.paintsScreen)
        return nullptr;
    if (!m_paint.lent.painter && !m_qt.host && m_qt.widget) {
        // A control's paint draws on a painter of its own, white where it leaves anything out, as its image was.
        m_paint.ownPainter = std::make_unique<QPainter>(m_qt.widget.data());
        if (!m_paint.ownPainter->isActive()) {
            m_paint.ownPainter.reset();
            return nullptr;
        }
        m_paint.ownPainter->fillRect(m_paint.rect, Qt::white);
        m_paint.lent.painter = m_paint.ownPainter.get();
        m_paint.lent.cache = PainterCache();
        m_paint.drewOwn = true;
    }
    return &m_paint.lent;
}

void CWndBridge::EndOwnPainter() {
    if (!m_paint.ownPainter)
        return;
    m_paint.ownPainter->end();
    m_paint.ownPainter.reset();
    m_paint.lent.painter = nullptr;
}

bool CWndBridge::KeepsImage() const { return m_qt.host ? m_qt.host->KeepsImage() : m_retained.keeps; }

QImage* CWndBridge::KeptImage() {
    if (m_qt.host)
        return m_qt.host->ClientImage();
    if (!m_retained.keeps)
        return nullptr;
    const QSize size = m_qt.widget ? m_qt.widget->size() : QSize();
    if (m_retained.image.size() != size) {
        if (size.isEmpty()) {
            m_retained.image = QImage();
        } else {
            // What it showed stays at the top left; the rest is white.
            QImage resized(size, QImage::Format_RGB32);
            resized.fill(Qt::white);
            if (!m_retained.image.isNull()) {
                QPainter p(&resized);
                p.drawImage(0, 0, m_retained.image);
            }
            m_retained.image = resized;
        }
    }
    return &m_retained.image;
}

QImage* CWndBridge::ImageToDrawOn() {
    // A paint straight on the screen draws with its painter; one that goes nowhere draws nothing.
    if (m_paint.paintsScreen || m_paint.paintsNowhere)
        return nullptr;
    const QRegion all(QRect(QPoint(0, 0), ClientSize()));
    if (!KeepsImage()) {
        if (m_qt.host)
            m_qt.host->KeepImage();
        else
            m_retained.keeps = true;
        // The image starts as the screen shows the window: as its paints draw it.
        if (!m_paint.active) {
            CWnd* wnd = m_wnd;
            RunPaint(PaintTarget::Image, all, true, nullptr);
            if (!IsWindow(wnd))
                return nullptr;
        }
    }
    if (!m_paint.active) {
        m_retained.drawn = all;
        m_retained.unshown = all;
    }
    return KeptImage();
}

void CWndBridge::DropImage() {
    if (m_qt.host)
        m_qt.host->DropImage();
    m_retained.keeps = false;
    m_retained.image = QImage();
    m_retained.drawn = QRegion();
    m_retained.unshown = QRegion();
}

void CWndBridge::ShownFromImage(const QRegion& region) {
    m_retained.unshown -= region;
    if (m_retained.drawn.isEmpty() && m_retained.unshown.isEmpty())
        DropImage();
}

void CWndBridge::UpdateNow() {
    if (!m_qt.host || !m_qt.widget)
        return;
    if (KeepsImage()) {
        DispatchPaint();
        return;
    }
    const QRegion region = m_invalid.region & QRect(QPoint(0, 0), ClientSize());
    if (region.isEmpty()) {
        m_invalid.region = QRegion();
        m_invalid.erase = false;
        return;
    }
    // Inside another paint a repaint would paint the whole window again from within: it waits for the next.
    if (QtPaintDepth() > 0)
        return;
    const QWindow* window = m_qt.widget->window()->windowHandle();
    if (window && window->isExposed()) {
        // What is left invalid afterwards lies under opaque children: nothing to paint there.
        const QPointer<CWndBridge> alive(this);
        m_qt.widget->repaint(region.translated(m_qt.host->ClientOrigin()));
        if (alive && m_qt.widget && m_qt.widget->updatesEnabled()) {
            m_invalid.region = QRegion();
            m_invalid.erase = false;
        }
        return;
    }
    // Not on the screen yet: the paint happens now all the same, and the screen gets its own when it comes.
    DispatchPaint();
}
