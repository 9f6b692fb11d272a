#pragma once

#include <string>

class TiXmlDocument;

// Writes the document to a new file beside the old one and renames it over it, so that the previous file
// stays whole until the new one is complete on disk, then syncs the folder, so that a save reported done
// survives a power cut. False, with the system's error number in *error, when any step fails: the old file
// untouched, unless only the folder's sync failed. A file write-protected for this user by its permission bits
// (root included) is refused at once, with EACCES.
//
// The new file is named ".<name>.save-XXXXXX" and is locked while it is written. Before each save, such files
// of the same name that no writer holds any more (left by a save that was killed) are removed.
bool SaveXmlFile(const TiXmlDocument& document, const std::string& path, int* error = nullptr);

// The name a save of the file gives its new file while writing it, with "XXXXXX" where the unique part goes.
std::string SaveTemporaryPattern(const std::string& fileName);
