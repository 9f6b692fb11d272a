#pragma once

#include "Clipboard.h"

#include "platform/os/Object.h"
#include "platform/os/Point.h"
#include "platform/os/Types.h"

class CWnd;
class COleDataObject;
class QObject;

// Makes a window a drop target: Qt's drag events over it reach the virtual handlers with the data as a
// COleDataObject, the key state (MK_LBUTTON, MK_SHIFT, MK_CONTROL) and the point in the window's client
// coordinates. The effect the last OnDragOver chose is what the drop gets and what the drag source learns.
// A drag keeps reaching OnDragOver after an enter that refused it, as the platform's drags do.
class COleDropTarget : public CObject {
    DECLARE_DYNAMIC(COleDropTarget)
public:
    COleDropTarget();
    ~COleDropTarget() override;

    // FALSE when this target is registered already or the window has no widget.
    virtual BOOL Register(CWnd* pWnd);
    virtual void Revoke();
    CWnd* GetRegisteredWindow() const { return m_pWnd; }

    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);
    // Asked before each OnDragOver; an answer with DROPEFFECT_SCROLL stands in for OnDragOver's.
    virtual DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);

private:
    friend class CDropFilter;
    CWnd* m_pWnd = nullptr;
    QObject* m_filter = nullptr;
};
