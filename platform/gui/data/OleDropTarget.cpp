#include "OleDropTarget.h"

#include "OleDataObject.h"
#include "platform/gui/window/Keys.h"
#include "platform/gui/window/Wnd.h"

#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QPointer>
#include <QWidget>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(COleDropTarget, CObject)

namespace {

DROPEFFECT AllowedEffects(Qt::DropActions actions) {
    DROPEFFECT effects = DROPEFFECT_NONE;
    if (actions & Qt::CopyAction)
        effects |= DROPEFFECT_COPY;
    if (actions & Qt::MoveAction)
        effects |= DROPEFFECT_MOVE;
    if (actions & Qt::LinkAction)
        effects |= DROPEFFECT_LINK;
    return effects;
}

Qt::DropAction ActionOf(DROPEFFECT effect) {
    if (effect & DROPEFFECT_MOVE)
        return Qt::MoveAction;
    if (effect & DROPEFFECT_COPY)
        return Qt::CopyAction;
    if (effect & DROPEFFECT_LINK)
        return Qt::LinkAction;
    return Qt::IgnoreAction;
}

DWORD KeyStateOf(const QDropEvent* event) {
    DWORD state = 0;
    const Qt::MouseButtons buttons = event->buttons();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (buttons & Qt::LeftButton)
        state |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        state |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        state |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        state |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        state |= MK_CONTROL;
    return state;
}

// The effect the target chose, narrowed to what the source allows; a choice of several keeps the first the
// platform would take (move before copy before link).
DROPEFFECT Narrow(DROPEFFECT chosen, DROPEFFECT allowed) {
    const DROPEFFECT both = chosen & allowed & (DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
    if (both & DROPEFFECT_MOVE)
        return DROPEFFECT_MOVE;
    if (both & DROPEFFECT_COPY)
        return DROPEFFECT_COPY;
    return both & DROPEFFECT_LINK;
}

} // namespace

// Turns the drag events of the registered window's widget into the target's handlers.
class CDropFilter : public QObject {
public:
    CDropFilter(COleDropTarget* target, QWidget* widget) : QObject(widget), m_target(target), m_widget(widget) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_widget)
            return false;
        switch (event->type()) {
        case QEvent::DragEnter: return Enter(static_cast<QDragEnterEvent*>(event));
        case QEvent::DragMove: return Move(static_cast<QDragMoveEvent*>(event));
        case QEvent::DragLeave: return Leave();
        case QEvent::Drop: return Drop(static_cast<QDropEvent*>(event));
        default: return false;
        }
    }

private:
    CPoint ClientPoint(const QDropEvent* event) const {
        const QPoint global = m_widget->mapToGlobal(event->position().toPoint());
        CPoint point(global.x(), global.y());
        if (CWnd* wnd = m_target->m_pWnd)
            wnd->ScreenToClient(&point);
        return point;
    }

    bool Enter(QDragEnterEvent* event) {
        CWnd* wnd = m_target->m_pWnd;
        COleDataObject data;
        data.Attach(event->mimeData());
        const DROPEFFECT allowed = AllowedEffects(event->possibleActions());
        m_effect = Narrow(m_target->OnDragEnter(wnd, &data, KeyStateOf(event), ClientPoint(event)), allowed);
        // Accepted whatever the answer, so that the moves keep coming.
        event->setDropAction(ActionOf(m_effect));
        event->accept();
        return true;
    }

    bool Move(QDragMoveEvent* event) {
        CWnd* wnd = m_target->m_pWnd;
        COleDataObject data;
        data.Attach(event->mimeData());
        const DWORD keys = KeyStateOf(event);
        const CPoint point = ClientPoint(event);
        const DROPEFFECT allowed = AllowedEffects(event->possibleActions());
        DROPEFFECT effect = m_target->OnDragScroll(wnd, keys, point);
        if (!(effect & DROPEFFECT_SCROLL))
            effect = m_target->OnDragOver(wnd, &data, keys, point);
        m_effect = Narrow(effect, allowed);
        event->setDropAction(ActionOf(m_effect));
        if (m_effect == DROPEFFECT_NONE)
            event->ignore();
        else
            event->accept();
        return true;
    }

    bool Leave() {
        m_target->OnDragLeave(m_target->m_pWnd);
        m_effect = DROPEFFECT_NONE;
        return true;
    }

    bool Drop(QDropEvent* event) {
        CWnd* wnd = m_target->m_pWnd;
        if (m_effect == DROPEFFECT_NONE) {
            m_target->OnDragLeave(wnd);
            event->ignore();
            return true;
        }
        COleDataObject data;
        data.Attach(event->mimeData());
        const DROPEFFECT effect = m_effect;
        m_effect = DROPEFFECT_NONE;
        if (m_target->OnDrop(wnd, &data, effect, ClientPoint(event))) {
            event->setDropAction(ActionOf(effect));
            event->accept();
        } else {
            event->ignore();
        }
        return true;
    }

    COleDropTarget* m_target;
    QWidget* m_widget;
    DROPEFFECT m_effect = DROPEFFECT_NONE;
};

COleDropTarget::COleDropTarget() = default;

COleDropTarget::~COleDropTarget() { Revoke(); }

BOOL COleDropTarget::Register(CWnd* pWnd) {
    if (m_pWnd || !IsWindow(pWnd) || !pWnd->GetHostWidget())
        return FALSE;
    QWidget* widget = pWnd->GetHostWidget();
    m_pWnd = pWnd;
    widget->setAcceptDrops(true);
    auto* filter = new CDropFilter(this, widget);
    widget->installEventFilter(filter);
    m_filter = filter;
    // The registration ends with the window.
    QObject::connect(widget, &QObject::destroyed, filter, [this]() {
        m_filter = nullptr;
        m_pWnd = nullptr;
    });
    return TRUE;
}

void COleDropTarget::Revoke() {
    if (m_filter) {
        QPointer<QObject> filter = m_filter;
        m_filter = nullptr;
        if (auto* widget = qobject_cast<QWidget*>(filter->parent()))
            widget->setAcceptDrops(false);
        delete filter.data();
    }
    m_pWnd = nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }
void COleDropTarget::OnDragLeave(CWnd*) {}
DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint) { return DROPEFFECT_NONE; }
