#pragma once

// The Qt side of a window, and what the sources of CWnd share of the window layer's process-wide state. Only
// those sources include this.

#include "RetainedImage.h"
#include "Wnd.h"
#include "platform/gui/draw/DcHandle.h"

#include <QEvent>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class CHostWidget;
class QInputMethodEvent;
class QKeyEvent;
class QMouseEvent;
class QPaintEvent;
class QPainter;
class QTransform;
class QTimerEvent;
class QWheelEvent;
class QWidget;

namespace wndimpl {

// The window objects that exist, the widgets they are bound to, and the plain objects handed out for widgets
// without one.
std::unordered_set<const CWnd*>& Live();
std::unordered_map<const QWidget*, CWnd*>& Attached();
std::unordered_map<const QWidget*, std::vector<CWnd*>>& Wrappers();
CWnd* NewControlObject(QWidget* widget);
bool IsWrapper(const CWnd* wnd);
bool IsLive(const CWnd* wnd);

CWnd*& Capture();
QPointer<QWidget>& LastFocus();

struct MessageContext {
    CWnd* wnd;
    MSG msg;
    QEvent* event;
};
std::vector<MessageContext>& Contexts();

// How deep each widget is inside its own dispatch, so that a window destroyed from one of its own handlers
// deletes its widget only after Qt has finished delivering the event.
struct Delivery {
    QPointer<QWidget> widget; // null once Qt deleted the widget regardless
    int depth = 0;
};
std::unordered_map<const QWidget*, Delivery>& DispatchDepth();
// Whether Qt is delivering an event to the widget or to one of its descendants, which deleting it would delete.
bool InDelivery(const QWidget* widget);

class DepthGuard {
public:
    explicit DepthGuard(QWidget* widget) : m_widget(widget) {
        if (m_widget) {
            Delivery& delivery = DispatchDepth()[m_widget];
            delivery.widget = m_widget;
            ++delivery.depth;
        }
    }
    ~DepthGuard() {
        if (!m_key)
            return;
        auto it = DispatchDepth().find(m_key);
        if (it != DispatchDepth().end() && --it->second.depth <= 0)
            DispatchDepth().erase(it);
    }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    QPointer<QWidget> m_widget;
    const QWidget* m_key = m_widget.data();
};

struct KeyState {
    std::array<bool, 256> down{};
    Qt::KeyboardModifiers modifiers;
    Qt::MouseButtons buttons;
    DWORD messagePos = 0;
    DWORD messageTime = 0;
};

KeyState& Keys();
// Message times share GetTickCount's clock, so the two compare as on the platform.
DWORD TickNow();
UINT MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
// Keeps the state that GetKeyState reports, from every input event the application sees.
void EnsureKeyStateTracker();

struct CharMessage {
    UINT message;
    WPARAM code;
};

// The desktop window, once asked for.
CWnd*& DesktopWnd();
bool IsDesktop(const CWnd* wnd);

QEvent::Type PostedMessageType();

// How many of Qt's paint events of windows are being delivered: a repaint asked for meanwhile waits for the next.
int& QtPaintDepth();
struct PaintDepthGuard {
    PaintDepthGuard() { ++QtPaintDepth(); }
    ~PaintDepthGuard() { --QtPaintDepth(); }
    PaintDepthGuard(const PaintDepthGuard&) = delete;
    PaintDepthGuard& operator=(const PaintDepthGuard&) = delete;
};
// Whether a painter on a widget draws on its window's backing store, the screen, as against a grab.
bool PaintsBackingStore(const QWidget* widget, const QPainter& painter);

class PostedMessage : public QEvent {
public:
    PostedMessage(UINT message, WPARAM wParam, LPARAM lParam)
        : QEvent(PostedMessageType()), m_message(message), m_wParam(wParam), m_lParam(lParam) {}
    UINT m_message;
    WPARAM m_wParam;
    LPARAM m_lParam;
};

constexpr const char* kDialogManagerProperty = "dialogManager";
// The widgets whose window was destroyed while Qt still delivered an event to them, until they go.
bool IsGoneWidget(const QWidget* widget);
void MarkGoneWidget(QWidget* widget);

// Offscreen windows cannot be raised; asking only prints a warning.
void RaiseWidget(QWidget* widget);
bool InDialogManager(const QWidget* widget);
QPoint ClientOriginOf(const QWidget* widget);
// Coordinates a window may take, kept well inside Qt's int arithmetic.
int Coordinate(int64_t value);
// A width or height a window may take: the X protocol carries no more than 32767, and a window sized to a text
// from a file would otherwise hold an image of gigabytes.
int Extent(int64_t value);
// A program rectangle (right and bottom exclusive, either way round) as a Qt rectangle within that range.
QRect ToQRect(const RECT& r);
// The extent from one edge to the other as the platform's 32-bit arithmetic gives it.
int WrappedExtent(LONG from, LONG to);
// Characters GBK cannot carry become '?', as the platform's conversion does.
std::string QStringToGbkLossy(const QString& text);

LRESULT Dispatch(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam, QEvent* event = nullptr);
// Walks PreTranslateMessage from the target up to its top-level window, as the message loop does.
bool PreTranslate(MSG& msg);
// Delivers a message the way the message loop does: PreTranslateMessage first, then WindowProc.
void QueuedDispatch(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam, QEvent* event = nullptr);

} // namespace wndimpl

// ---------------------------------------------------------------------------------------------------------------
// The per-window part that lives on the Qt side: event filter, posted messages, timers, painting state.

class CWndBridge : public QObject {
public:
    explicit CWndBridge(CWnd* wnd) : m_wnd(wnd) {}

    CWnd* m_wnd; // the window this bridge belongs to

    // The widget the window is bound to and the connections it keeps on it (AttachWidget sets, DetachWidget cuts).
    struct QtSide {
        QPointer<QWidget> widget;
        CHostWidget* host = nullptr; // the widget, when the window draws it itself
        bool owned = false;
        QMetaObject::Connection destroyed;
        std::vector<QMetaObject::Connection> barConnections; // the host's scroll bars (ConnectScrollBar)
    } m_qt;

    // The window's class, owner, font and text as attaching, creating and WM_SETTEXT/WM_SETFONT set them.
    struct Identity {
        WNDCLASS windowClass{};
        UINT classStyle = CS_DBLCLKS;
        HCURSOR classCursor = nullptr;
        CWnd* owner = nullptr;
        HFONT font = nullptr;
        std::string text; // host windows keep their text in GBK as given
    } m_identity;

    // What the program invalidated that no paint has covered yet (InvalidateRect, UpdateNow, Qt's paint events).
    struct Invalid {
        QRegion region; // client coordinates
        bool erase = false;
    } m_invalid;

    // The paint in progress and what its DCs draw on (RunPaint; GetPaintRect, LentScreen, ImageToDrawOn read it).
    struct Paint {
        bool active = false;
        bool inQtPaint = false; // the paint runs inside Qt's paint event, which then shows the image itself
        QRect rect;
        QRegion region;
        bool erased = false; // the background of the paint in progress was erased
        // A paint that draws straight on the screen lends its DCs the painter of Qt's paint event (on an attached
        // widget, one it opens when the paint first draws).
        bool paintsScreen = false;
        bool paintsNowhere = false; // a paint before the window is on the screen: what it draws goes nowhere
        LentPainter lent;
        std::unique_ptr<QPainter> ownPainter;
        bool drewOwn = false;    // the paint opened a painter of its own
        bool madeOpaque = false; // so the control is marked opaque
    } m_paint;

    // The retained image of a window that drew outside its paints (ImageToDrawOn keeps it, ShownFromImage drops it).
    RetainedImage m_retained;

    // The client size, position and enabled state last reported, so that Qt's events report changes only.
    struct Reported {
        bool sizeKnown = false;
        QSize client;
        bool posKnown = false;
        QPoint pos;
        bool ownEnabled = true;
        bool inShowWindow = false; // ShowWindow sends WM_SHOWWINDOW itself
    } m_reported;

    // SetTimer's timers by id, with the Qt timers behind them: SetTimer, KillTimer, timerEvent.
    struct Timer {
        int qtId;
        TIMERPROC proc;
    };
    std::map<UINT_PTR, Timer> m_timers;

    // Input being translated: the Qt event DefWindowProc may hand back to Qt, leave tracking, a pending lead byte.
    struct Input {
        bool trackLeave = false;  // TrackMouseEvent asked for WM_MOUSELEAVE
        QEvent* event = nullptr;  // the Qt input event being translated
        bool forwarded = false;   // DefWindowProc handed it to Qt
        bool keyHasChars = false; // its WM_CHARs forward the key press
        int pendingLead = -1;     // a GBK lead byte WM_CHAR holds for its trail byte
    } m_input;

    // The move and size loop that a press on a caption or frame hit code starts (WM_NCLBUTTONDOWN, SizeMoveStep).
    struct SizeMove {
        int hit = HTNOWHERE;
        QPoint start;
        QRect geometry;
    } m_sizeMove;

    bool eventFilter(QObject* object, QEvent* event) override;
    bool event(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

    bool HandleMouse(QMouseEvent* me);
    bool HandleWheel(QWheelEvent* we);
    bool HandleKey(QKeyEvent* ke);
    bool HandleKeyUp(QKeyEvent* ke);
    bool DialogTakesKey(QKeyEvent* ke, UINT message, UINT vk, LPARAM lParam);
    bool HandleInputMethod(QInputMethodEvent* ie);
    bool HandlePaint(QPaintEvent* pe);
    enum class PaintTarget { Screen, Image, Nowhere };
    // Sends the erase (when asked, to a window of its own) and WM_PAINT for a region of the client area.
    void RunPaint(PaintTarget target, const QRegion& region, bool erase, QEvent* event);
    // UpdateWindow: the invalid part painted now, where it can be.
    void UpdateNow();
    void SendChars(const std::vector<wndimpl::CharMessage>& chars, LPARAM lParam);
    // Paints the invalid part of the client area on the retained image.
    void DispatchPaint();
    // The client area of Qt's paint event: painted straight on the screen, or copied from the retained image.
    void PaintClient(QPainter& painter, const QPoint& origin, const QRegion& region);
    // What a DC on the window draws on (see WindowSurfaceOf).
    QSize ClientSize() const;
    LentPainter* LentScreen();
    QImage* ImageToDrawOn();
    // The retained image, or null while the window keeps none.
    bool KeepsImage() const;
    QImage* KeptImage();
    void DropImage();
    // A part of the retained image reached the screen; the image goes once the screen shows what paints draw.
    void ShownFromImage(const QRegion& region);
    void EndOwnPainter();
    void SyncGeometry(bool sizeFirst = false);
    bool SyncPosition();
    void RecalcNonClient();
    void ForwardInput();
    bool SizeMoveStep(QMouseEvent* me);
    // Connects the host's bars that were made; a bar made later connects itself (ConnectScrollBar).
    void ConnectScrollBars();
    void ConnectScrollBar(int bar);
};
