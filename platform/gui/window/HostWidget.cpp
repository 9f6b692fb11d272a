#include "HostWidget.h"

#include "WindowRecord.h"
#include "WndBridge.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

// The frame and bar sizes of the classic look, which the program's geometry is written against.
constexpr int kBorder = 1;
constexpr int kThickFrame = 4;
constexpr int kDialogFrame = 3;
constexpr int kClientEdge = 2;
constexpr int kStaticEdge = 1;
constexpr int kScrollBarExtent = 17;

// Classic frame colours; the drawing layer's table holds the same values.
const QColor kShadow(128, 128, 128);
const QColor kHighlight(255, 255, 255);
const QColor kDarkShadow(64, 64, 64);
const QColor kLight(212, 208, 200);
const QColor kFace(212, 208, 200);
const QColor kFrame(0, 0, 0);

} // namespace

CHostWidget::CHostWidget(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // What the window painted stays where it is when it grows or shrinks: only the new parts are painted, as the
    // window layer invalidates them.
    setAttribute(Qt::WA_StaticContents);
    setAutoFillBackground(false);
}

// Qt tells the window that its widget went only once this part of it is gone: from here on the window must not
// take the widget for its host.
CHostWidget::~CHostWidget() {
    if (m_wnd && m_wnd->m_bridge && m_wnd->m_bridge->m_qt.host == this)
        m_wnd->m_bridge->m_qt.host = nullptr;
}

bool CHostWidget::KeepsImage() const { return m_wnd && m_wnd->m_bridge->KeepsImage(); }

QMargins CHostWidget::FrameMargins() const {
    const DWORD style = WidgetStyle(this);
    const DWORD exStyle = WidgetExStyle(this);
    int m = 0;
    if (style & WS_THICKFRAME)
        m += kThickFrame;
    else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        m += kDialogFrame;
    else if (style & WS_BORDER)
        m += kBorder;
    if (exStyle & WS_EX_CLIENTEDGE)
        m += kClientEdge;
    if (exStyle & WS_EX_STATICEDGE)
        m += kStaticEdge;
    return QMargins(m, m, m, m);
}

void CHostWidget::SetClientMargins(const QMargins& margins) {
    m_hasClientMargins = true;
    m_clientMargins = margins;
}

QRect CHostWidget::ClientRectInWidget() const {
    if (m_hasClientMargins) {
        const QMargins& c = m_clientMargins;
        return QRect(c.left(), c.top(), std::max(0, width() - c.left() - c.right()),
                     std::max(0, height() - c.top() - c.bottom()));
    }
    const QMargins m = FrameMargins();
    int right = width() - m.right();
    int bottom = height() - m.bottom();
    if (IsScrollBarShown(SB_VERT))
        right -= kScrollBarExtent;
    if (IsScrollBarShown(SB_HORZ))
        bottom -= kScrollBarExtent;
    const int w = std::max(0, right - m.left());
    const int h = std::max(0, bottom - m.top());
    return QRect(m.left(), m.top(), w, h);
}

bool CHostWidget::IsScrollBarShown(int bar) const {
    return (WidgetStyle(this) & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
}

QScrollBar* CHostWidget::ScrollBar(int bar) {
    QScrollBar*& sb = bar == SB_VERT ? m_vBar : m_hBar;
    if (!sb) {
        sb = new QScrollBar(bar == SB_VERT ? Qt::Vertical : Qt::Horizontal, this);
        sb->setTracking(false);
        sb->setFocusPolicy(Qt::NoFocus);
        sb->setVisible(false);
        SyncScrollBar(bar);
        sb->setEnabled(bar == SB_VERT ? m_vEnabled : m_hEnabled);
        if (m_wnd)
            m_wnd->m_bridge->ConnectScrollBar(bar);
    }
    return sb;
}

void CHostWidget::SyncScrollBar(int bar) {
    QScrollBar* sb = ExistingScrollBar(bar);
    if (!sb)
        return;
    const SCROLLINFO& si = ScrollInfo(bar);
    const QSignalBlocker block(sb);
    sb->setRange(si.nMin, ScrollInfoMaxPos(si));
    sb->setPageStep(static_cast<int>(std::min<UINT>(si.nPage, 0x7FFFFFFF)));
    sb->setSingleStep(1);
    sb->setValue(si.nPos);
    sb->setSliderPosition(si.nPos);
}

void CHostWidget::SetScrollBarEnabled(int bar, bool enabled) {
    (bar == SB_VERT ? m_vEnabled : m_hEnabled) = enabled;
    if (QScrollBar* sb = ExistingScrollBar(bar))
        sb->setEnabled(enabled);
}

void CHostWidget::Relayout() {
    const QMargins m = FrameMargins();
    const bool v = IsScrollBarShown(SB_VERT);
    const bool h = IsScrollBarShown(SB_HORZ);
    const QRect inner = rect().marginsRemoved(m);
    const int barWidth = std::max(0, inner.width() - (v ? kScrollBarExtent : 0));
    const int barHeight = std::max(0, inner.height() - (h ? kScrollBarExtent : 0));
    if (v || m_vBar) {
        QScrollBar* sb = ScrollBar(SB_VERT);
        sb->setGeometry(inner.left() + barWidth, inner.top(), kScrollBarExtent, barHeight);
        sb->setVisible(v);
    }
    if (h || m_hBar) {
        QScrollBar* sb = ScrollBar(SB_HORZ);
        sb->setGeometry(inner.left(), inner.top() + barHeight, barWidth, kScrollBarExtent);
        sb->setVisible(h);
    }
}

void CHostWidget::resizeEvent(QResizeEvent* event) {
    Relayout();
    QWidget::resizeEvent(event);
}

void CHostWidget::PaintFrame(QPainter& painter) const {
    const DWORD style = WidgetStyle(this);
    const DWORD exStyle = WidgetExStyle(this);
    QRect r = rect();
    auto frame = [&painter, &r](const QColor& topLeft, const QColor& bottomRight) {
        if (r.width() <= 0 || r.height() <= 0)
            return;
        painter.fillRect(r.left(), r.top(), r.width() - 1, 1, topLeft);
        painter.fillRect(r.left(), r.top(), 1, r.height() - 1, topLeft);
        painter.fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
        painter.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
        r.adjust(1, 1, -1, -1);
    };
    if (style & WS_THICKFRAME) {
        frame(kLight, kDarkShadow);
        frame(kHighlight, kShadow);
        frame(kFace, kFace);
        frame(kFace, kFace);
    } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
        frame(kLight, kDarkShadow);
        frame(kHighlight, kShadow);
        frame(kFace, kFace);
    } else if (style & WS_BORDER) {
        frame(kFrame, kFrame);
    }
    if (exStyle & WS_EX_CLIENTEDGE) {
        frame(kShadow, kHighlight);
        frame(kDarkShadow, kLight);
    }
    if (exStyle & WS_EX_STATICEDGE)
        frame(kShadow, kHighlight);
    if (IsScrollBarShown(SB_VERT) && IsScrollBarShown(SB_HORZ)) {
        const QRect inner = rect().marginsRemoved(FrameMargins());
        painter.fillRect(inner.right() + 1 - kScrollBarExtent, inner.bottom() + 1 - kScrollBarExtent, kScrollBarExtent,
                         kScrollBarExtent, kFace);
    }
}

void CHostWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setClipRegion(event->region());
    PaintFrame(painter);
    const QRect client = ClientRectInWidget();
    const QRegion region = event->region() & client;
    if (region.isEmpty())
        return;
    if (!m_wnd) {
        painter.fillRect(client, Qt::white);
        return;
    }
    painter.setClipping(false);
    m_wnd->m_bridge->PaintClient(painter, client.topLeft(), region.translated(-client.topLeft()));
}
