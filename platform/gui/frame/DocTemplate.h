#pragma once

#include "platform/gui/base/RuntimeClass.h"
#include "platform/gui/window/CmdTarget.h"

#include "platform/os/Object.h"
#include "platform/os/String.h"

#include <memory>

struct CRuntimeClass;
class CDocument;
class CFrameWnd;

// Makes the document, its frame and its view from their classes and one resource id (the frame's menu,
// accelerators, and the string whose first "\n"-part is the window title).
class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };

    CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                 const CRuntimeClass* pViewClass);
    ~CDocTemplate() override;

    BOOL GetDocString(CString& rString, DocStringIndex index) const;
    UINT GetResourceId() const { return m_nIDResource; }

    // The single document shown in a new frame; null when any part could not be made.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;

protected:
    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
};

// One document in one frame for the program's whole run. A second "new document" starts the document afresh
// without rebuilding the frame or running the views' initial update again.
class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)
public:
    using CDocTemplate::CDocTemplate;
    ~CSingleDocTemplate() override;

    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    CDocument* GetDocument() const { return m_pOnlyDoc.get(); }
    CFrameWnd* GetFrame() const { return m_pFrame; }

private:
    std::unique_ptr<CDocument> m_pOnlyDoc;
    CFrameWnd* m_pFrame = nullptr;
};
