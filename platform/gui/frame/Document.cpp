#include "Document.h"

#include "View.h"

#include "platform/os/FilePath.h"
#include "platform/os/MessageBox.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

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

namespace {

// Whether the name is an ordinary file that can be opened for reading. What is not one is never opened: a pipe
// would hold up the start until someone writes into it, and opening a device may do something.
bool IsReadableFile(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    // It may have been replaced since; opening without waiting, it is checked again.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool plain = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    close(fd);
    return plain;
}

} // namespace

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName) {
    if (!lpszPathName || !IsReadableFile(LocalFilePath(lpszPathName))) {
        const std::string text = std::string("Failed to open document: ") + (lpszPathName ? lpszPathName : "");
        std::fprintf(stderr, "%s\n", text.c_str());
        AfxMessageBox(text, MB_OK | MB_ICONERROR);
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
