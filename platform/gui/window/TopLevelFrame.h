#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>

#include <optional>
#include <string_view>

class QWidget;

// The frame a window manager draws around a top-level window: title bar and borders. Moving, sizing and centring a
// top-level window act on this outer rectangle, so that the whole frame lies where the program put it. The window
// manager tells the frame's size only once the window is shown; until then the frame of another window of the
// program stands in for it (there is none without a window manager), and the last placement asked for is made
// again when the real frame becomes known.
class CTopLevelFrame : public QObject {
public:
    // The frame of a top-level widget, made on first use; it lives as long as the widget.
    static CTopLevelFrame* Of(QWidget* window);
    // The outer rectangle of a top-level widget in screen coordinates: the client area and the frame around it.
    static QRect OuterRect(const QWidget* window);
    // The frame's widths around the client area as the window manager reports them; null while it has not.
    static QMargins KnownMargins(const QWidget* window);
    // Puts a title (GBK) in the window's title bar, cut to what a title bar shows; a window without a title of its
    // own shows the program's, where the window system would show the executable's name.
    static void SetTitle(QWidget* window, std::string_view gbk);

    // Puts the frame's top-left corner at outer's; with sizeGiven the frame takes outer's size, else the client
    // area keeps its own.
    void Place(const QRect& outer, bool sizeGiven);
    // Puts the frame, at the size it has, in the middle of area.
    void Centre(const QRect& area);
    // A window the operator cannot resize keeps its client size fixed, so the window manager offers no resizing
    // or maximizing; the program still sizes it.
    void SetResizable(bool resizable);
    // A modal window cannot be minimised: the window manager would take its owner along, and without a task bar
    // nothing brings them back. The manager is asked to offer moving and closing only; set before the window shows.
    void SetMinimizable(bool minimizable);
    // How wide the window must be for the window manager to show its whole title beside the title bar's buttons.
    int WidthForTitle() const;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit CTopLevelFrame(QWidget* window);

    QMargins Margins() const;
    void Apply();
    void Check();
    void WithholdMinimize();

    struct Request {
        QPoint topLeft;
        std::optional<QSize> outerSize;
        std::optional<QRect> centreIn;
    };

    QWidget* m_window;
    std::optional<Request> m_request;
    QMargins m_applied;
    bool m_resizable = true;
    bool m_minimizable = true;
    bool m_checkQueued = false;
};
