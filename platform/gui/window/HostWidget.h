#pragma once

#include "platform/gui/base/Handles.h"
#include "platform/gui/window/ScrollInfo.h"

#include <QMargins>
#include <QRegion>
#include <QWidget>

#include <string>

class QScrollBar;

// The widget of a window the program draws itself: a non-client frame (border, thick frame, client edge) and the
// standard scroll bars inside it, made when first shown. Its paint event draws the frame and hands the client area
// to the window, which paints it straight on the screen, or copies the retained client image it keeps while it
// draws outside its paints. It may exist before a CWnd attaches to it (a dialog's custom control waiting to be
// subclassed); it shows white until then.
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

    // Whether its window keeps a retained image.
    bool KeepsImage() const;

    SCROLLINFO& ScrollInfo(int bar) { return bar == 1 ? m_vInfo : m_hInfo; }
    // The bar, made now if it was not yet, as the scroll information has it.
    QScrollBar* ScrollBar(int bar);
    // The bar, or null while it was never made.
    QScrollBar* ExistingScrollBar(int bar) const { return bar == 1 ? m_vBar : m_hBar; }
    bool IsScrollBarShown(int bar) const;
    // Whether the bar takes input; kept for a bar not made yet.
    void SetScrollBarEnabled(int bar, bool enabled);
    // Brings a bar that was made to the scroll information, without telling anyone.
    void SyncScrollBar(int bar);

    // Places the scroll bars after a change of size, style or bars.
    void Relayout();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // The window repaints what shows its focus itself; Qt would repaint all of it.
    void focusInEvent(QFocusEvent* /*event*/) override {}
    void focusOutEvent(QFocusEvent* /*event*/) override {}

private:
    friend class CWnd;
    friend class CWndBridge;

    void PaintFrame(QPainter& painter) const;

    CWnd* m_wnd = nullptr;
    std::string m_className;
    SCROLLINFO m_hInfo{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
    SCROLLINFO m_vInfo{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
    QScrollBar* m_hBar = nullptr;
    QScrollBar* m_vBar = nullptr;
    bool m_hEnabled = true;
    bool m_vEnabled = true;
    bool m_hasClientMargins = false;
    QMargins m_clientMargins;
};
