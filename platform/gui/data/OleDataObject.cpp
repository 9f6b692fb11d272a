#include "OleDataObject.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <cstring>

BOOL COleDataObject::AttachClipboard() {
    m_data = nullptr;
    m_clipboard = true;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return (data && !data->formats().isEmpty()) ? TRUE : FALSE;
}

void COleDataObject::Attach(const QMimeData* data) {
    m_data = data;
    m_clipboard = false;
}

void COleDataObject::Release() {
    m_data = nullptr;
    m_clipboard = false;
}

std::optional<std::string> COleDataObject::TextBlock() const {
    // The clipboard is asked each time: its contents may change between calls.
    return CfTextFromMimeData(m_clipboard ? QGuiApplication::clipboard()->mimeData() : m_data);
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT format) const {
    if (format != CF_TEXT)
        return FALSE;
    return TextBlock() ? TRUE : FALSE;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT format) const {
    if (format != CF_TEXT)
        return nullptr;
    std::optional<std::string> block = TextBlock();
    if (!block)
        return nullptr;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, block->size());
    if (!mem)
        return nullptr;
    if (void* bytes = GlobalLock(mem)) {
        std::memcpy(bytes, block->data(), block->size());
        GlobalUnlock(mem);
    }
    return mem;
}
