#include "Clipboard.h"

#include "platform/gui/base/GbkString.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

const char* const kCfTextMimeType = "application/x-veltrano-cf-text";

QMimeData* CfTextToMimeData(const std::string& block) {
    auto* data = new QMimeData;
    data->setData(kCfTextMimeType, QByteArray(block.data(), static_cast<qsizetype>(block.size())));
    const size_t end = block.find('\0');
    data->setText(GbkToQString(std::string_view(block).substr(0, end)));
    return data;
}

std::optional<std::string> CfTextFromMimeData(const QMimeData* data) {
    if (!data)
        return std::nullopt;
    if (data->hasFormat(kCfTextMimeType)) {
        const QByteArray bytes = data->data(kCfTextMimeType);
        return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    if (!data->hasText())
        return std::nullopt;

    const QString text = data->text();
    if (std::optional<std::string> gbk = QStringToGbk(text))
        return *gbk + '\0';
    // Convert character by character so that only what GBK cannot carry is replaced.
    std::string gbk;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        std::optional<std::string> one = QStringToGbk(text.mid(i, width));
        gbk += one ? *one : std::string("?");
        i += width;
    }
    return gbk + '\0';
}

BOOL IsClipboardFormatAvailable(UINT format) {
    if (format != CF_TEXT && format != CF_UNICODETEXT)
        return FALSE;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return (data && (data->hasFormat(kCfTextMimeType) || data->hasText())) ? TRUE : FALSE;
}

Qt::DropActions DropActionsFromEffects(DROPEFFECT effects) {
    Qt::DropActions actions;
    if (effects & DROPEFFECT_COPY)
        actions |= Qt::CopyAction;
    if (effects & DROPEFFECT_MOVE)
        actions |= Qt::MoveAction;
    if (effects & DROPEFFECT_LINK)
        actions |= Qt::LinkAction;
    return actions;
}

DROPEFFECT DropEffectFromAction(Qt::DropAction action) {
    switch (action) {
    case Qt::CopyAction: return DROPEFFECT_COPY;
    case Qt::MoveAction:
    case Qt::TargetMoveAction: return DROPEFFECT_MOVE;
    case Qt::LinkAction: return DROPEFFECT_LINK;
    default: return DROPEFFECT_NONE;
    }
}
