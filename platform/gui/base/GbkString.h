#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

// The program keeps its texts in GBK; Qt shows and edits them as Unicode. These are the only crossings.

// Bytes that are not valid GBK show as U+FFFD; the rest of the text is kept.
QString GbkToQString(std::string_view gbk);
// What a window shows of a text that may come from a file: at most maxChars characters, the rest cut off and marked
// with an ellipsis, so that no text can make a request the window system refuses, or take it minutes to lay out.
// The text itself stays whole with its owner.
QString ShownText(std::string_view gbk, qsizetype maxChars);
// A title bar's text, and a label's or a list entry's.
constexpr qsizetype kMaxTitleChars = 256;
constexpr qsizetype kMaxLabelChars = 1024;
// No value when the text holds a character that GBK cannot carry.
std::optional<std::string> QStringToGbk(const QString& text);

// A file name in the file system's encoding, with either separator (see platform/os/FilePath.h), as Qt takes it.
QString LocalFileName(const std::string& path);
