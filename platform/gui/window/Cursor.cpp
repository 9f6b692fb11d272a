#include "Cursor.h"

#include <QApplication>
#include <QCursor>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace {

struct NamedCursor {
    uintptr_t id;
    CursorShape cursor;
};

const NamedCursor kCursors[] = {
    {32512, {Qt::ArrowCursor}},     {32513, {Qt::IBeamCursor}},        {32514, {Qt::WaitCursor}},
    {32515, {Qt::CrossCursor}},     {32516, {Qt::UpArrowCursor}},      {32640, {Qt::SizeAllCursor}},
    {32641, {Qt::ArrowCursor}},     {32642, {Qt::SizeFDiagCursor}},    {32643, {Qt::SizeBDiagCursor}},
    {32644, {Qt::SizeHorCursor}},   {32645, {Qt::SizeVerCursor}},      {32646, {Qt::SizeAllCursor}},
    {32648, {Qt::ForbiddenCursor}}, {32649, {Qt::PointingHandCursor}}, {32650, {Qt::BusyCursor}},
    {32651, {Qt::WhatsThisCursor}},
};

HCURSOR& Current() {
    static HCURSOR cursor = nullptr;
    return cursor;
}

QPointer<QWidget>& Target() {
    static QPointer<QWidget> target;
    return target;
}

CursorPosHandler& PosHandler() {
    static CursorPosHandler handler;
    return handler;
}

std::optional<RECT>& Clip() {
    static std::optional<RECT> clip;
    return clip;
}

} // namespace

HCURSOR LoadCursor(HINSTANCE /*hInstance*/, LPCTSTR lpCursorName) {
    if (!IS_INTRESOURCE(lpCursorName))
        return nullptr;
    const auto id = reinterpret_cast<uintptr_t>(lpCursorName);
    for (const NamedCursor& named : kCursors)
        if (named.id == id)
            return &named.cursor;
    return nullptr;
}

HCURSOR SetCursor(HCURSOR hCursor) {
    HCURSOR previous = Current();
    Current() = hCursor;
    QWidget* target = Target();
    if (!target && qobject_cast<QApplication*>(QCoreApplication::instance()))
        target = QApplication::widgetAt(QCursor::pos());
    if (target) {
        if (hCursor)
            target->setCursor(QCursor(static_cast<Qt::CursorShape>(hCursor->shape)));
        else
            target->setCursor(QCursor(Qt::BlankCursor));
    }
    return previous;
}

HCURSOR GetCursor() { return Current(); }

BOOL DestroyCursor(HCURSOR /*hCursor*/) { return TRUE; }

POINT ClampToCursorClip(POINT point) {
    if (const auto& clip = Clip()) {
        point.x = std::clamp<LONG>(point.x, clip->left, std::max(clip->left, clip->right - 1));
        point.y = std::clamp<LONG>(point.y, clip->top, std::max(clip->top, clip->bottom - 1));
    }
    return point;
}

BOOL GetCursorPos(POINT* lpPoint) {
    if (!lpPoint)
        return FALSE;
    POINT p;
    if (PosHandler()) {
        p = PosHandler()();
    } else {
        const QPoint q = QCursor::pos();
        p = POINT{q.x(), q.y()};
    }
    *lpPoint = ClampToCursorClip(p);
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    const POINT p = ClampToCursorClip(POINT{x, y});
    if (!PosHandler())
        QCursor::setPos(p.x, p.y);
    return TRUE;
}

CursorPosHandler SetCursorPosHandler(CursorPosHandler handler) {
    CursorPosHandler previous = std::move(PosHandler());
    PosHandler() = std::move(handler);
    return previous;
}

BOOL ClipCursor(const RECT* lpRect) {
    if (lpRect) {
        RECT r = *lpRect;
        if (r.right < r.left)
            std::swap(r.left, r.right);
        if (r.bottom < r.top)
            std::swap(r.top, r.bottom);
        Clip() = r;
    } else {
        Clip().reset();
    }
    return TRUE;
}

BOOL GetClipCursor(RECT* lpRect) {
    if (!lpRect)
        return FALSE;
    if (Clip())
        *lpRect = *Clip();
    else
        *lpRect = RECT{-32768, -32768, 32767, 32767};
    return TRUE;
}

void SetCursorTarget(QWidget* widget) { Target() = widget; }

QWidget* CursorTarget() { return Target(); }
