#pragma once

#include "platform/os/Rect.h"
#include "platform/os/String.h"
#include "platform/os/Types.h"

class CWallModel;
class LcdGridCtrl;

// The area a command goes to when nothing is selected: every unit of the wall.
constexpr RECT kWholeWallArea{0, 0, 255, 255};

// The link between a page's buttons and the core: takes the target units from the selection of the wall view it
// is handed, sends the named command through the wall model and shows the result. Pages and dialogs own one each;
// a controller handed no wall view sends to the whole wall.
class CWallCtrl {
public:
    CWallCtrl(CWallModel* owner, LcdGridCtrl* wallView);
    virtual ~CWallCtrl() = default;
    CWallCtrl(const CWallCtrl&) = delete;
    CWallCtrl& operator=(const CWallCtrl&) = delete;

    // Sends to the selection (or the whole wall when it is empty); a source command closes the PIP window first.
    virtual int Execute(CString name, int value, BOOL useSelection);
    // Sends three bytes to the whole wall.
    virtual int ExecuteWithBytes(CString name, BYTE a, BYTE b, BYTE c);
    // Sends one byte to the selection (or the whole wall).
    virtual int ExecuteWithValue(CString name, BYTE value);

    LcdGridCtrl* GetWallView() const { return m_wallView; }

protected:
    // The wall view's selection as it gives it (1-based, {first row, first column, last row, last column}); false
    // when nothing is selected, its last row or last column then being 0.
    bool SelectionArea(RECT& area) const;
    // The selection, or the whole wall when nothing is selected.
    RECT SelectedAreaOrWall() const;

    LcdGridCtrl* m_wallView;
    CWallModel* m_owner;
};
