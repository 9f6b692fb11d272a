#include "DocTemplate.h"

#include "Document.h"
#include "FrameWnd.h"
#include "ResourceTable.h"
#include "WinApp.h"
#include "platform/gui/base/RuntimeClass.h"

#include "platform/os/MessageBox.h"
#include "platform/os/RuntimeClass.h"

#include <cstdio>

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                           const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass) {}

CDocTemplate::~CDocTemplate() = default;

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
    rString.Empty();
    CString all;
    if (!AfxLoadString(m_nIDResource, all))
        return FALSE;
    int start = 0;
    for (int i = 0; i < index; ++i) {
        const int next = all.Find('\n', start);
        if (next < 0)
            return FALSE;
        start = next + 1;
    }
    const int end = all.Find('\n', start);
    rString = end < 0 ? all.Mid(start) : all.Mid(start, end - start);
    return TRUE;
}

CSingleDocTemplate::~CSingleDocTemplate() = default;

namespace {

// A start-up that could not build its window says so rather than ending without a word.
void ReportNoDocument() {
    const char* text = "Failed to create empty document.";
    std::fprintf(stderr, "%s\n", text);
    AfxMessageBox(text, MB_OK | MB_ICONERROR);
}

} // namespace

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible) {
    if (!m_pOnlyDoc) {
        CObject* object = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
        auto* doc = dynamic_cast<CDocument*>(object);
        if (!doc) {
            delete object;
            ReportNoDocument();
            return nullptr;
        }
        doc->m_pDocTemplate = this;
        m_pOnlyDoc.reset(doc);
    }
    CDocument* doc = m_pOnlyDoc.get();

    bool created = false;
    if (!IsWindow(m_pFrame)) {
        CObject* object = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
        auto* frame = dynamic_cast<CFrameWnd*>(object);
        if (!frame) {
            delete object;
            ReportNoDocument();
            return nullptr;
        }
        CCreateContext context;
        context.m_pNewViewClass = m_pViewClass;
        context.m_pCurrentDoc = doc;
        context.m_pNewDocTemplate = this;
        context.m_pCurrentFrame = frame;
        // A frame that fails once its window exists deletes itself with the window.
        if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
            ReportNoDocument();
            return nullptr;
        }
        m_pFrame = frame;
        created = true;
    }

    BOOL ready = FALSE;
    if (lpszPathName) {
        ready = doc->OnOpenDocument(lpszPathName);
    } else {
        CString title;
        GetDocString(title, fileNewName);
        doc->SetTitle(title.IsEmpty() ? "Untitled" : title);
        ready = doc->OnNewDocument();
    }
    if (!ready) {
        // A frame made for this document goes with it.
        if (created) {
            CFrameWnd* frame = m_pFrame;
            m_pFrame = nullptr;
            frame->DestroyWindow();
        }
        return nullptr;
    }

    if (created) {
        if (CWinApp* app = AfxGetApp(); app && !app->m_pMainWnd)
            app->m_pMainWnd = m_pFrame;
        m_pFrame->InitialUpdateFrame(doc, bMakeVisible);
    }
    return doc;
}
