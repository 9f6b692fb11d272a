#pragma once

#include "XmlLoad.h"

#include <functional>
#include <string>

class TiXmlDocument;

// How a save ended.
enum class XmlSaveOutcome {
    kSaved,
    kUnsynced,  // the new file is in place, but its folder could not be synced: a power cut may bring back the old one
    kFailed,    // the old file stays as it was
    kOverLimit, // nothing written: the file would be over one of its limits, and refused when it is read again
};

struct XmlSaveResult {
    XmlSaveOutcome outcome = XmlSaveOutcome::kSaved;
    int error = 0;              // kFailed, kUnsynced: the system's error number
    const char* step = nullptr; // kFailed: what could not be done, where the error alone does not say it
    XmlLoadStatus limit;        // kOverLimit: the limit, as the loading would name it
};

// Writes the document to a new file beside the old one and renames it over it, so that the previous file stays
// whole until the new one is complete on disk, then syncs the folder, so that a save reported done survives a
// power cut. The new file takes the old one's owner, group and permissions before it takes its name: where they
// cannot be kept, the save fails. The document is measured as it is written, with the limits the loading reads
// the file with, and is not written when it is over one of them. A file write-protected for this user by its
// permission bits (root included) is refused at once, with EACCES.
//
// The new file is named ".<name>.save-XXXXXX" and is locked while it is written. Before each save, such files
// of the same name that no writer holds any more (left by a save that was killed) are removed.
XmlSaveResult SaveXmlFile(const TiXmlDocument& document, const std::string& path);

// The same, and a save that did not end as kSaved is told to the operator once, naming the file.
XmlSaveOutcome SaveXmlFileTelling(const TiXmlDocument& document, const std::string& path);

// Whether the document, saved to the path, would be within the file's limits; false, after telling the operator
// which limit the change would go over, when not.
bool FitsXmlFileTelling(const TiXmlDocument& document, const std::string& path);

// The name a save of the file gives its new file while writing it, with "XXXXXX" where the unique part goes.
std::string SaveTemporaryPattern(const std::string& fileName);

// The steps of a save that tests make fail: the handler returns the error number a step fails with, or 0 for
// the real call. An empty handler restores the real calls; the previous handler is returned.
enum class SaveStep { kSetMode, kSyncFolder };
using SaveFaultHandler = std::function<int(SaveStep)>;
SaveFaultHandler SetSaveFaultHandler(SaveFaultHandler handler);
