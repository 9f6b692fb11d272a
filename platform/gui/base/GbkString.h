#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

// The program keeps its texts in GBK; Qt shows and edits them as Unicode. These are the only crossings.

// Bytes that are not valid GBK show as U+FFFD; the rest of the text is kept.
QString GbkToQString(std::string_view gbk);
// No value when the text holds a character that GBK cannot carry.
std::optional<std::string> QStringToGbk(const QString& text);

// A file name in the file system's encoding, with either separator (see platform/os/FilePath.h), as Qt takes it.
QString LocalFileName(const std::string& path);
