#pragma once

#include <optional>
#include <string>

// File names follow one rule. A name the program builds from the file system (its own path, the working folder)
// stays in the file system's encoding, UTF-8, and may carry the platform's backslashes; every call of this layer
// that opens or names a file takes such a name. A name that comes from the settings files or a dialog is GBK
// text and is converted once, with LocalFilePathFromGbk, where it meets the file system.

// A name in the file system's encoding, as the program's code writes it (".\system.xml", "C:\logo\a.bmp"), made
// into a path this system opens: every backslash becomes a slash. UTF-8 never has a backslash byte inside a
// character, so the name is not read as GBK.
std::string LocalFilePath(const std::string& path);

// A GBK name (from a settings file or a dialog) as a path in the file system's encoding: backslashes become
// slashes, except the second byte of a double-byte character, and the text becomes UTF-8. No value when the
// bytes are not valid GBK.
std::optional<std::string> LocalFilePathFromGbk(const std::string& gbkPath);
