#pragma once

#include "platform/gui/base/Handles.h"
#include "platform/gui/window/ScrollInfo.h"

#include <QImage>
#include <QMargins>
#include <QRegion>
#include <QWidget>

#include <string>

class QScrollBar;

// The widget of a window the program draws itself: a non-client frame (border, thick frame, client edge) and the
// standard scroll bars inside it. Its paint event draws the frame and hands the client area to the window, which
// paints it straight on the screen, or copies the retained client image it keeps while it draws outside its
// paints. It may exist before a CWnd attaches to it (a dialog's custom control waiting to be subclassed); it shows
// white until then.
class CHostWidget : public QWidget {
public:
    explicit CHostWidget(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~CHostWidget() override;

    CWnd* Window() const { return m_wnd; }

    const std::string& ClassName() const { return m_className; }
    void SetClassName(const std::string& name) { m_className = name; }

    // Edges of the non-client frame, from the window's style bits (scroll bars not included).
    QMargins FrameMargins() const;
    // The client area in widget coordinates: inside the non-client margins its window last computed
    // (WM_NCCALCSIZE), or inside the frame and the shown bars before a window is attached.
    QRect ClientRectInWidget() const;
    void SetClientMargins(const QMargins& margins);
    QPoint ClientOrigin() const { return ClientRectInWidget().topLeft(); }

    // The retained image, always the client area's size; null while the window keeps none (and an empty image
    // while the client area is empty).
    QImage* ClientImage() {
        if (!m_keepsImage)
            return nullptr;
        ResizeImage(ClientRectInWidget().size());
        return &m_image;
    }
    bool KeepsImage() const { return m_keepsImage; }
    // Starts keeping an image, white, as a window that was never painted shows.
    void KeepImage();
    void DropImage();

    SCROLLINFO& ScrollInfo(int bar) { return bar == 1 ? m_vInfo : m_hInfo; }
    QScrollBar* ScrollBar(int bar);
    bool IsScrollBarShown(int bar) const;

    // Places the scroll bars after a change of size, style or bars; a kept image follows on its next use.
    void Relayout();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class CWnd;
    friend class CWndBridge;

    void ResizeImage(const QSize& size);
    void PaintFrame(QPainter& painter) const;

    CWnd* m_wnd = nullptr;
    std::string m_className;
    bool m_keepsImage = false;
    QImage m_image;
    QSize m_keptSize{0, 0}; // the top left part of the image that still shows what it showed
    SCROLLINFO m_hInfo{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
    SCROLLINFO m_vInfo{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
    QScrollBar* m_hBar = nullptr;
    QScrollBar* m_vBar = nullptr;
    bool m_hasClientMargins = false;
    QMargins m_clientMargins;
};
