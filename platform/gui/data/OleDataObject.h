#pragma once

#include "Clipboard.h"

#include "platform/os/GlobalMemory.h"
#include "platform/os/Types.h"

#include <optional>
#include <string>

class QMimeData;

// Data on the clipboard or in a drag that reaches a drop target, read as CF_TEXT.
class COleDataObject {
public:
    COleDataObject() = default;

    // Reads the system clipboard from now on; FALSE when it holds nothing.
    BOOL AttachClipboard();
    // Reads mime data that someone else owns (a drop event's) while attached.
    void Attach(const QMimeData* data);
    void Release();

    BOOL IsDataAvailable(CLIPFORMAT format) const;
    // A new block that the caller frees; nullptr when the format is not offered.
    HGLOBAL GetGlobalData(CLIPFORMAT format) const;

private:
    std::optional<std::string> TextBlock() const;

    const QMimeData* m_data = nullptr;
    bool m_clipboard = false;
};
