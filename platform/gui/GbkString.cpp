#include "GbkString.h"

#include "platform/os/FilePath.h"

#include <QFile>

#include "platform/os/Gbk.h"

QString GbkToQString(std::string_view gbk) {
    if (auto utf8 = GbkToUtf8(gbk))
        return QString::fromUtf8(utf8->data(), static_cast<qsizetype>(utf8->size()));

    // Decode character by character so that one bad byte costs one replacement character only.
    QString text;
    size_t i = 0;
    while (i < gbk.size()) {
        const auto lead = static_cast<unsigned char>(gbk[i]);
        const size_t width = (lead >= 0x81 && lead <= 0xFE && i + 1 < gbk.size()) ? 2 : 1;
        if (auto one = GbkToUtf8(gbk.substr(i, width))) {
            text += QString::fromUtf8(one->data(), static_cast<qsizetype>(one->size()));
            i += width;
        } else {
            text += QChar(0xFFFD);
            ++i;
        }
    }
    return text;
}

std::optional<std::string> QStringToGbk(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return Utf8ToGbk(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

QString LocalFileName(const std::string& path) { return QFile::decodeName(LocalFilePath(path).c_str()); }
