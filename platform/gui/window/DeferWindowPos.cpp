#include "DeferWindowPos.h"

#include "Wnd.h"

#include <memory>
#include <set>
#include <vector>

struct DeferredPositions {
    struct Move {
        HWND wnd;
        HWND insertAfter;
        int x, y, cx, cy;
        UINT flags;
    };
    std::vector<Move> moves;
};

namespace {

std::set<HDWP>& LiveBatches() {
    static auto* batches = new std::set<HDWP>;
    return *batches;
}

void Free(HDWP batch) {
    LiveBatches().erase(batch);
    delete batch;
}

} // namespace

HDWP BeginDeferWindowPos(int nNumWindows) {
    if (nNumWindows < 0)
        return nullptr;
    auto batch = std::make_unique<DeferredPositions>();
    batch->moves.reserve(static_cast<size_t>(nNumWindows));
    HDWP handle = batch.release();
    LiveBatches().insert(handle);
    return handle;
}

HDWP DeferWindowPos(HDWP hWinPosInfo, HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags) {
    if (!LiveBatches().count(hWinPosInfo))
        return nullptr;
    if (!IsWindow(hWnd)) {
        Free(hWinPosInfo);
        return nullptr;
    }
    hWinPosInfo->moves.push_back({hWnd, hWndInsertAfter, x, y, cx, cy, uFlags});
    return hWinPosInfo;
}

BOOL EndDeferWindowPos(HDWP hWinPosInfo) {
    if (!LiveBatches().count(hWinPosInfo))
        return FALSE;
    const std::vector<DeferredPositions::Move> moves = hWinPosInfo->moves;
    Free(hWinPosInfo);
    for (const DeferredPositions::Move& move : moves)
        if (IsWindow(move.wnd))
            move.wnd->SetWindowPos(move.insertAfter, move.x, move.y, move.cx, move.cy, move.flags);
    return TRUE;
}
