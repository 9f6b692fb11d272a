#pragma once

#include "Clipboard.h"

#include "platform/os/GlobalMemory.h"
#include "platform/os/Object.h"
#include "platform/os/Types.h"

#include <functional>
#include <string>

class QMimeData;
class COleDataSource;

// The drag loop: given the source and the effects it allows, runs the drag and returns the effect the drop
// target chose (DROPEFFECT_NONE when it was refused or cancelled). The program uses Qt's drag; tests install
// a loop that delivers the drag events to a window themselves.
using DragDropLoop = std::function<DROPEFFECT(COleDataSource& source, DROPEFFECT allowed)>;

// Data offered to the clipboard or to a drag: here the CF_TEXT block of the grid's cells.
class COleDataSource : public CObject {
    DECLARE_DYNAMIC(COleDataSource)
public:
    COleDataSource() = default;
    ~COleDataSource() override;

    // The source takes the block over and frees it. Only CF_TEXT is kept; other formats free their block.
    void CacheGlobalData(CLIPFORMAT format, HGLOBAL mem);
    void Empty();
    BOOL HasText() const { return m_hasText ? TRUE : FALSE; }
    const std::string& TextBlock() const { return m_text; }

    // Hands the source to the clipboard, which owns it from now on (it must have been made with new) and
    // frees it when the next source takes its place.
    void SetClipboard();
    // The source this program last put on the clipboard while the clipboard still holds its data, else null.
    static COleDataSource* GetClipboardOwner();
    // Frees the source the clipboard holds; its data stays on the clipboard for other programs.
    static void FlushClipboard();

    DROPEFFECT DoDragDrop(DROPEFFECT allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);

    // New mime data for this source's formats; the caller owns it.
    QMimeData* CreateMimeData() const;

    // Installs a drag loop (an empty one restores Qt's) and returns the previous one.
    static DragDropLoop SetDragDropLoop(DragDropLoop loop);

private:
    std::string m_text;
    bool m_hasText = false;
};
