#include "CmdTarget.h"

#include "Wnd.h"
#include "platform/gui/frame/Menu.h"

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

void CCmdUI::Enable(BOOL bOn) {
    if (m_pMenu)
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : MF_GRAYED));
    else if (m_pOther)
        m_pOther->EnableWindow(bOn);
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
    if (m_pMenu)
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
}

void CCmdUI::SetRadio(BOOL bOn) { SetCheck(bOn ? 1 : 0); }

void CCmdUI::SetText(LPCTSTR lpszText) {
    if (m_pMenu)
        m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING, m_nID, lpszText);
    else if (m_pOther)
        m_pOther->SetWindowText(lpszText);
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
    if (!pTarget || m_nID == 0)
        return TRUE;
    m_bEnableChanged = FALSE;
    m_bContinueRouting = FALSE;
    const BOOL handled = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this);
    if (bDisableIfNoHandler && !m_bEnableChanged) {
        // A command without an update handler is usable exactly when someone handles it.
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, nullptr, TRUE));
    }
    return handled;
}

void CCmdTarget::OnCommandRange(UINT nFirst, UINT nLast, std::function<void(UINT)> handler) {
    m_ranges[{nFirst, nLast}] = std::move(handler);
}

void CCmdTarget::OnControl(UINT nID, int nCode, std::function<void()> handler) {
    m_controls[{nID, nCode}] = std::move(handler);
}

void CCmdTarget::OnUpdateCommandUI(UINT nID, std::function<void(CCmdUI*)> handler) {
    m_updates[nID] = std::move(handler);
}

void CCmdTarget::OnNotifyCode(UINT nID, UINT nCode, std::function<void(NMHDR*, LRESULT*)> handler) {
    m_notifies[{nID, nCode}] = std::move(handler);
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, BOOL queryOnly) {
    if (nCode == CN_UPDATE_COMMAND_UI) {
        const auto it = m_updates.find(nID);
        if (it == m_updates.end())
            return FALSE;
        if (!queryOnly && pExtra) {
            // Copied: the handler may replace its own entry.
            auto handler = it->second;
            handler(static_cast<CCmdUI*>(pExtra));
        }
        return TRUE;
    }
    if (nCode == CN_NOTIFY) {
        auto* info = static_cast<NotifyInfo*>(pExtra);
        if (!info || !info->pNMHDR)
            return FALSE;
        const auto it = m_notifies.find({nID, info->pNMHDR->code});
        if (it == m_notifies.end())
            return FALSE;
        if (!queryOnly) {
            auto handler = it->second;
            handler(info->pNMHDR, info->pResult);
        }
        return TRUE;
    }
    if (const auto it = m_controls.find({nID, nCode}); it != m_controls.end()) {
        if (!queryOnly) {
            auto handler = it->second;
            handler();
        }
        return TRUE;
    }
    if (nCode == CN_COMMAND) {
        for (const auto& [range, handler] : m_ranges) {
            if (nID >= range.first && nID <= range.second) {
                if (!queryOnly) {
                    auto run = handler;
                    run(nID);
                }
                return TRUE;
            }
        }
    }
    return FALSE;
}
