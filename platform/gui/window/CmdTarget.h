#pragma once

#include "Messages.h"

#include "platform/os/Object.h"
#include "platform/os/Types.h"

#include <functional>
#include <map>
#include <utility>

class CCmdTarget;
class CMenu;
class CWnd;

// Notification codes of OnCmdMsg beside a control's own (BN_CLICKED, CBN_SELCHANGE ...): a command from a
// menu, an accelerator or a button, and the request to update a command's user interface.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;
// WM_NOTIFY travels through OnCmdMsg with this code; pExtra is a NotifyInfo that holds the record's own code.
constexpr int CN_NOTIFY = 0x4E00;

// The user interface of one command (a menu item) while its update handler runs.
class CCmdUI {
public:
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    UINT m_nIndexMax = 0;
    CMenu* m_pMenu = nullptr;
    CWnd* m_pOther = nullptr;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCTSTR lpszText);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks the target for the command's state; with bDisableIfNoHandler a command nobody handles is disabled.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);
};

// A WM_NOTIFY record on its way through OnCmdMsg.
struct NotifyInfo {
    NMHDR* pNMHDR;
    LRESULT* pResult;
};

// What a class answers to commands: its handlers by command id and notification code, in place of the
// framework's message maps. A handler registered later for the same id and code replaces the earlier one, so
// a derived class's constructor overrides its base's entries.
class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // Runs the handler for (nID, nCode): nCode is CN_COMMAND, a control's notification code,
    // CN_UPDATE_COMMAND_UI (pExtra a CCmdUI) or CN_NOTIFY (pExtra a NotifyInfo).
    // With queryOnly it only says whether a handler exists. Derived classes route further.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, BOOL queryOnly = FALSE);

protected:
    void OnCommandId(UINT nID, std::function<void()> handler) { OnControl(nID, CN_COMMAND, std::move(handler)); }
    void OnCommandRange(UINT nFirst, UINT nLast, std::function<void(UINT)> handler);
    void OnControl(UINT nID, int nCode, std::function<void()> handler);
    void OnUpdateCommandUI(UINT nID, std::function<void(CCmdUI*)> handler);
    void OnNotifyCode(UINT nID, UINT nCode, std::function<void(NMHDR*, LRESULT*)> handler);

private:
    std::map<std::pair<UINT, int>, std::function<void()>> m_controls;
    std::map<UINT, std::function<void(CCmdUI*)>> m_updates;
    std::map<std::pair<UINT, UINT>, std::function<void(NMHDR*, LRESULT*)>> m_notifies;
    std::map<std::pair<UINT, UINT>, std::function<void(UINT)>> m_ranges;
};
