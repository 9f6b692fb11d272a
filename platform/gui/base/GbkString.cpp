#include "GbkString.h"

#include "platform/os/FilePath.h"

#include <QFile>

#include <algorithm>

#include "platform/os/Gbk.h"

namespace {

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

QString GbkToQString(std::string_view gbk) {
    // Most texts a window shows are plain ASCII, the same in GBK and in Unicode.
    if (IsAscii(gbk))
        return QString::fromLatin1(gbk.data(), static_cast<qsizetype>(gbk.size()));
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

QString ShownText(std::string_view gbk, qsizetype maxChars) {
    size_t end = 0;
    for (qsizetype chars = 0; end < gbk.size() && chars < maxChars; ++chars) {
        const auto lead = static_cast<unsigned char>(gbk[end]);
        end += (lead >= 0x81 && lead <= 0xFE && end + 1 < gbk.size()) ? 2 : 1;
    }
    if (end >= gbk.size())
        return GbkToQString(gbk);
    return GbkToQString(gbk.substr(0, end)) + QChar(0x2026);
}

std::optional<std::string> QStringToGbk(const QString& text) {
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
        const QByteArray ascii = text.toLatin1();
        return std::string(ascii.constData(), static_cast<size_t>(ascii.size()));
    }
    const QByteArray utf8 = text.toUtf8();
    return Utf8ToGbk(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

QString LocalFileName(const std::string& path) { return QFile::decodeName(LocalFilePath(path).c_str()); }
