#pragma once

#include "CreateContext.h"
#include "platform/gui/window/CmdTarget.h"
#include "platform/gui/window/Wnd.h"

class CDC;
class CDocument;
class CFrameWnd;
class CPrintInfo;

// A view of a document: a child window that draws through OnDraw and prints through the printing steps.
// Views made from their class (by a frame or a splitter) delete themselves when their window is gone.
class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnDraw(CDC* pDC);

    // The printing steps, in the order the print loop calls them.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    // Prints the view into a PDF file at the resolution given: OnPreparePrinting, OnBeginPrinting, then
    // for each page from the first to the last page the print info names (read again after every page, so
    // OnBeginPrinting may set it) OnPrepareDC and OnPrint, then OnEndPrinting. FALSE when the file cannot be
    // written or OnPreparePrinting refuses.
    BOOL PrintToPdf(LPCTSTR lpszPath, int nDotsPerInch = 600);

    // The create context travels to OnCreate as the creation parameter, so the view joins its document.
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, void* pContext = nullptr) override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnPaint() override;
    void PostNcDestroy() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, BOOL queryOnly = FALSE) override;

    CDocument* m_pDocument = nullptr;
    BOOL m_bAutoDelete = TRUE;
};
