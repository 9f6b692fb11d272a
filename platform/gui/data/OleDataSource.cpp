#include "OleDataSource.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QMimeData>
#include <QWidget>

#include <memory>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(COleDataSource, CObject)

namespace {

DragDropLoop& CurrentLoop() {
    static DragDropLoop loop;
    return loop;
}

std::unique_ptr<COleDataSource>& ClipboardSource() {
    static std::unique_ptr<COleDataSource> source;
    return source;
}

// The mime data the clipboard got from ClipboardSource(); another program's copy replaces it.
const QMimeData*& ClipboardData() {
    static const QMimeData* data = nullptr;
    return data;
}

DROPEFFECT RunQtDrag(COleDataSource& source, DROPEFFECT allowed) {
    QObject* origin = QWidget::mouseGrabber();
    if (!origin)
        origin = QApplication::focusWidget();
    if (!origin)
        origin = qApp;
    auto* drag = new QDrag(origin);
    drag->setMimeData(source.CreateMimeData());
    const Qt::DropActions actions = DropActionsFromEffects(allowed);
    const Qt::DropAction defaultAction = (allowed & DROPEFFECT_MOVE) ? Qt::MoveAction : Qt::IgnoreAction;
    const DROPEFFECT effect = DropEffectFromAction(drag->exec(actions, defaultAction));
    drag->deleteLater();
    return effect & allowed;
}

} // namespace

COleDataSource::~COleDataSource() = default;

void COleDataSource::CacheGlobalData(CLIPFORMAT format, HGLOBAL mem) {
    if (format == CF_TEXT) {
        const size_t size = GlobalSize(mem);
        const char* bytes = static_cast<const char*>(GlobalLock(mem));
        m_text.assign(bytes ? bytes : "", bytes ? size : 0);
        m_hasText = bytes != nullptr;
        if (bytes)
            GlobalUnlock(mem);
    }
    GlobalFree(mem);
}

void COleDataSource::Empty() {
    m_text.clear();
    m_hasText = false;
}

QMimeData* COleDataSource::CreateMimeData() const { return m_hasText ? CfTextToMimeData(m_text) : new QMimeData; }

void COleDataSource::SetClipboard() {
    QMimeData* data = CreateMimeData();
    QApplication::clipboard()->setMimeData(data);
    ClipboardData() = data;
    if (ClipboardSource().get() != this)
        ClipboardSource().reset(this);
}

COleDataSource* COleDataSource::GetClipboardOwner() {
    if (ClipboardSource() && QApplication::clipboard()->mimeData() != ClipboardData()) {
        ClipboardSource().reset();
        ClipboardData() = nullptr;
    }
    return ClipboardSource().get();
}

void COleDataSource::FlushClipboard() {
    ClipboardSource().reset();
    ClipboardData() = nullptr;
}

DROPEFFECT COleDataSource::DoDragDrop(DROPEFFECT allowed) {
    if (CurrentLoop())
        return CurrentLoop()(*this, allowed) & allowed;
    return RunQtDrag(*this, allowed);
}

DragDropLoop COleDataSource::SetDragDropLoop(DragDropLoop loop) {
    DragDropLoop previous = std::move(CurrentLoop());
    CurrentLoop() = std::move(loop);
    return previous;
}
