#include "WndBridge.h"

#include "ClientDC.h"
#include "HostWidget.h"
#include "WindowDC.h"
#include "platform/gui/draw/DC.h"

#include <QBackingStore>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QWindow>

using namespace wndimpl;

// ---------------------------------------------------------------------------------------------------------------
// Painting. A window paints straight on the screen in Qt's paint event. One that draws outside its paints (a DC
// taken between them) keeps a retained image from then on, which its paints draw on and Qt's paint events copy,
// until the screen again shows what its paints draw, but for what its children hide.

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

void CWnd::InvalidateFrame(LPCRECT lpRect, BOOL bErase) {
    if (!lpRect || lpRect->right <= lpRect->left || lpRect->bottom <= lpRect->top)
        return;
    const RECT& r = *lpRect;
    const RECT lines[] = {{r.left, r.top, r.right, r.top + 1},
                          {r.left, r.bottom - 1, r.right, r.bottom},
                          {r.left, r.top, r.left + 1, r.bottom},
                          {r.right - 1, r.top, r.right, r.bottom}};
    for (const RECT& line : lines)
        InvalidateRect(&line, bErase);
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

namespace {

// What the children of a widget cover that Qt never paints the widget under: opaque children and the opaque
// children of the others, as Qt leaves them out of a paint event.
QRegion OpaqueChildrenOf(const QWidget* widget) {
    QRegion covered;
    for (const QObject* object : widget->children()) {
        const auto* child = qobject_cast<const QWidget*>(object);
        if (!child || child->isWindow() || !child->isVisible())
            continue;
        const bool opaque = child->testAttribute(Qt::WA_OpaquePaintEvent) ||
                            (child->autoFillBackground() && child->palette().brush(child->backgroundRole()).isOpaque());
        QRegion part = opaque ? QRegion(child->rect()) : OpaqueChildrenOf(child);
        if (!child->mask().isEmpty())
            part &= child->mask();
        covered += part.translated(child->pos());
    }
    return covered;
}

} // namespace

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

bool CWndBridge::KeepsImage() const { return m_retained.Kept(); }

QImage* CWndBridge::KeptImage() { return m_retained.At(ClientSize()); }

QImage* CWndBridge::ImageToDrawOn() {
    // A paint straight on the screen draws with its painter; one that goes nowhere draws nothing.
    if (m_paint.paintsScreen || m_paint.paintsNowhere)
        return nullptr;
    const QRegion all(QRect(QPoint(0, 0), ClientSize()));
    if (!KeepsImage()) {
        m_retained.Keep();
        // The image starts as the screen shows the window: as its paints draw it.
        if (!m_paint.active) {
            CWnd* wnd = m_wnd;
            RunPaint(PaintTarget::Image, all, true, nullptr);
            if (!IsWindow(wnd))
                return nullptr;
        }
    }
    if (!m_paint.active)
        m_retained.DrawnOutsidePaint(all);
    return KeptImage();
}

void CWndBridge::DropImage() { m_retained.Drop(); }

void CWndBridge::ShownFromImage(const QRegion& region) {
    QRegion hidden;
    if (m_qt.widget)
        hidden = OpaqueChildrenOf(m_qt.widget).translated(m_qt.host ? -m_qt.host->ClientOrigin() : QPoint());
    m_retained.Shown(region, hidden);
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

bool CWndBridge::HandlePaint(QPaintEvent* pe) {
    // A window's own widget paints in its paint event (CHostWidget::paintEvent).
    if (m_qt.host)
        return false;
    const QRegion region = pe->region();
    const PaintDepthGuard painting;
    m_input.event = pe;
    m_input.forwarded = false;
    CWnd* wnd = m_wnd;
    if (KeepsImage()) {
        RunPaint(PaintTarget::Image, region, false, pe);
        if (!IsLive(wnd))
            return true;
        if (const QImage* image = KeptImage(); !m_input.forwarded && m_qt.widget && image && !image->isNull()) {
            QPainter painter(m_qt.widget);
            painter.setClipRegion(region);
            painter.drawImage(0, 0, *image);
            if (PaintsBackingStore(m_qt.widget, painter))
                ShownFromImage(region);
        }
    } else {
        m_paint.lent.origin = QTransform();
        RunPaint(PaintTarget::Screen, region, false, pe);
        if (!IsLive(wnd))
            return true;
        // A control its window draws covers itself, as its image once did: what lies under it is not painted.
        if (m_qt.widget && m_paint.drewOwn && !m_input.forwarded && !m_paint.madeOpaque) {
            m_qt.widget->setAttribute(Qt::WA_OpaquePaintEvent, true);
            m_paint.madeOpaque = true;
        } else if (m_qt.widget && m_input.forwarded && m_paint.madeOpaque) {
            m_qt.widget->setAttribute(Qt::WA_OpaquePaintEvent, false);
            m_paint.madeOpaque = false;
        }
    }
    m_input.event = nullptr;
    return true;
}

void CWndBridge::PaintClient(QPainter& painter, const QPoint& origin, const QRegion& region) {
    const PaintDepthGuard painting;
    const bool toScreen = PaintsBackingStore(m_qt.widget, painter);
    CWnd* wnd = m_wnd;
    if (KeepsImage()) {
        m_paint.inQtPaint = true;
        DispatchPaint();
        if (!IsLive(wnd))
            return;
        m_paint.inQtPaint = false;
        if (const QImage* image = KeptImage(); image && !image->isNull()) {
            painter.setClipRegion(region.translated(origin));
            painter.drawImage(origin, *image);
        }
        if (toScreen)
            ShownFromImage(region);
        return;
    }
    // What the program did not invalidate is painted as an exposed part is, background first. Qt paints all that is
    // invalid at once but for what opaque children cover, so all of it is done with. A grab paints the whole window
    // afresh and leaves what is invalid to the screen's paint.
    bool erase = true;
    if (toScreen) {
        erase = m_invalid.erase || !(region - m_invalid.region).isEmpty();
        m_invalid.region = QRegion();
        m_invalid.erase = false;
    }
    m_paint.lent.painter = &painter;
    m_paint.lent.origin = QTransform::fromTranslate(origin.x(), origin.y());
    RunPaint(PaintTarget::Screen, region, erase, nullptr);
}

void CWndBridge::RunPaint(PaintTarget target, const QRegion& region, bool erase, QEvent* event) {
    m_paint.rect = region.boundingRect();
    m_paint.region = region;
    m_paint.active = true;
    m_paint.paintsScreen = target == PaintTarget::Screen;
    m_paint.paintsNowhere = target == PaintTarget::Nowhere;
    m_paint.lent.cache = PainterCache();
    m_paint.erased = false;
    m_paint.drewOwn = false;
    CWnd* wnd = m_wnd;
    if (erase && m_qt.host) {
        CWnd::SendEraseBackground(wnd);
        // A background nothing erased is white on the screen, as a retained image starts, not what was there.
        if (IsLive(wnd) && !m_paint.erased && m_paint.lent.painter) {
            QPainter& painter = *m_paint.lent.painter;
            painter.save();
            painter.setTransform(m_paint.lent.origin);
            painter.setClipRegion(region);
            painter.fillRect(m_paint.rect, Qt::white);
            painter.restore();
        }
    }
    if (IsLive(wnd) && wnd->m_hWnd)
        Dispatch(wnd, WM_PAINT, 0, 0, event);
    if (!IsLive(wnd))
        return;
    EndOwnPainter();
    m_paint.lent = LentPainter();
    m_paint.paintsScreen = false;
    m_paint.paintsNowhere = false;
    m_paint.active = false;
    if (target == PaintTarget::Image)
        m_retained.Painted(region);
}

void CWndBridge::DispatchPaint() {
    if (!m_qt.host)
        return;
    const QRegion region = m_invalid.region & QRect(QPoint(0, 0), m_qt.host->ClientRectInWidget().size());
    const bool erase = m_invalid.erase;
    m_invalid.region = QRegion();
    m_invalid.erase = false;
    if (region.isEmpty())
        return;
    CWnd* wnd = m_wnd;
    RunPaint(KeepsImage() ? PaintTarget::Image : PaintTarget::Nowhere, region, erase, nullptr);
    if (!IsLive(wnd) || m_paint.inQtPaint)
        return;
    const QRect& r = region.boundingRect();
    const CRect painted(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    wnd->UpdateScreen(&painted);
}
