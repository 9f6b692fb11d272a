#pragma once

#include <optional>
#include <string>
#include <string_view>

// GBK (code page 936) <-> UTF-8. Texts that are not valid in the source encoding give no value:
// nothing is guessed or replaced.
std::optional<std::string> GbkToUtf8(std::string_view gbk);
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

// Whether the bytes are valid text in that encoding, checked without converting them whole (a file may be large).
bool IsGbk(std::string_view text);
bool IsUtf8(std::string_view text);

// For texts the program itself wrote in UTF-8 source and knows to be representable in GBK.
std::string Utf8ToGbkLiteral(std::string_view utf8);
