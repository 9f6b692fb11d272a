#pragma once

#include "platform/gui/window/CmdTarget.h"

#include "platform/os/Object.h"
#include "platform/os/String.h"

#include <vector>

class CDocTemplate;
class CView;

// A document: what its views show. This program's document holds nothing; the class keeps its title and its
// views and answers commands routed to it.
class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() = default;
    ~CDocument() override;

    virtual BOOL OnNewDocument();
    // The document holds no data, so opening a file only checks that it is an ordinary file that can be read,
    // without waiting on it, and takes its name; anything else (missing, unreadable, a folder, a pipe, a
    // device) is reported in a message box and on standard error, and FALSE.
    virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
    virtual void DeleteContents() {}

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle ? lpszTitle : ""; }
    const CString& GetPathName() const { return m_strPathName; }
    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    const std::vector<CView*>& GetViews() const { return m_views; }
    // Calls OnUpdate of every view but the sender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, BOOL queryOnly = FALSE) override;

    CDocTemplate* m_pDocTemplate = nullptr;

protected:
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
    std::vector<CView*> m_views;
};
