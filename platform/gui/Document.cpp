#include "Document.h"

#include "View.h"

#include "platform/os/FilePath.h"
#include "platform/os/MessageBox.h"

#include <algorithm>
#include <fstream>
#include <string>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

CDocument::~CDocument() {
    for (CView* view : m_views)
        view->m_pDocument = nullptr;
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName) {
    std::ifstream file(LocalFilePath(lpszPathName ? lpszPathName : ""), std::ios::binary);
    if (!lpszPathName || !file) {
        AfxMessageBox(std::string("Failed to open document: ") + (lpszPathName ? lpszPathName : ""),
                      MB_OK | MB_ICONERROR);
        return FALSE;
    }
    DeleteContents();
    m_strPathName = lpszPathName;
    const int slash = m_strPathName.ReverseFind('/');
    SetTitle(slash >= 0 ? m_strPathName.Mid(slash + 1) : m_strPathName);
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::AddView(CView* pView) {
    if (!pView || std::find(m_views.begin(), m_views.end(), pView) != m_views.end())
        return;
    m_views.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
    const auto it = std::find(m_views.begin(), m_views.end(), pView);
    if (it == m_views.end())
        return;
    m_views.erase(it);
    pView->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
    const std::vector<CView*> views = m_views;
    for (CView* view : views)
        if (view != pSender && std::find(m_views.begin(), m_views.end(), view) != m_views.end())
            view->OnUpdate(pSender, lHint, pHint);
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, BOOL queryOnly) {
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, queryOnly);
}
