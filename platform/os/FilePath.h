#pragma once

#include <string>

// A file name as the program's texts write it (".\system.xml", "res\a.bmp") made into a path this system
// opens: backslashes become slashes. A backslash byte that is the second byte of a GBK character stays.
std::string LocalFilePath(const std::string& path);
