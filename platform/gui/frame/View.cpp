#include "View.h"

#include "Document.h"
#include "FrameWnd.h"
#include "SplitterWnd.h"
#include "platform/gui/draw/PrintInfo.h"
#include "platform/gui/draw/PrinterDC.h"
#include "platform/gui/window/PaintDC.h"

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

CView::CView() = default;

CView::~CView() {
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView* /*pSender*/, LPARAM /*lHint*/, CObject* /*pHint*/) { Invalidate(TRUE); }

void CView::OnDraw(CDC* /*pDC*/) {}

BOOL CView::OnPreparePrinting(CPrintInfo* /*pInfo*/) { return TRUE; }
void CView::OnBeginPrinting(CDC* /*pDC*/, CPrintInfo* /*pInfo*/) {}

void CView::OnPrepareDC(CDC* /*pDC*/, CPrintInfo* pInfo) {
    // Without a known page count only the first page is printed.
    if (pInfo)
        pInfo->m_bContinuePrinting = (pInfo->GetMaxPage() != 0xFFFF || pInfo->m_nCurPage == 1) ? TRUE : FALSE;
}

void CView::OnPrint(CDC* pDC, CPrintInfo* /*pInfo*/) { OnDraw(pDC); }
void CView::OnEndPrinting(CDC* /*pDC*/, CPrintInfo* /*pInfo*/) {}

BOOL CView::PrintToPdf(LPCTSTR lpszPath, int nDotsPerInch) {
    CPrintInfo info;
    if (!OnPreparePrinting(&info))
        return FALSE;
    CPrinterDC dc;
    if (!dc.CreatePdf(lpszPath, nDotsPerInch))
        return FALSE;
    OnBeginPrinting(&dc, &info);
    CString title;
    GetWindowText(title);
    if (dc.StartDoc(title) <= 0) {
        OnEndPrinting(&dc, &info);
        return FALSE;
    }
    for (info.m_nCurPage = info.GetFromPage(); info.m_nCurPage <= info.GetToPage(); ++info.m_nCurPage) {
        OnPrepareDC(&dc, &info);
        if (!info.m_bContinuePrinting)
            break;
        dc.StartPage();
        info.m_rectDraw.SetRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
        dc.DPtoLP(&info.m_rectDraw);
        OnPrint(&dc, &info);
        dc.EndPage();
    }
    const BOOL written = dc.EndDoc() > 0 ? TRUE : FALSE;
    OnEndPrinting(&dc, &info);
    return written;
}

BOOL CView::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                   UINT nID, void* pContext) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

int CView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    auto* context = static_cast<CCreateContext*>(lpCreateStruct ? lpCreateStruct->lpCreateParams : nullptr);
    if (context && context->m_pCurrentDoc)
        context->m_pCurrentDoc->AddView(this);
    // A pane of a splitter is framed by a sunken edge, as the splitter's layout expects.
    if (dynamic_cast<CSplitterWnd*>(GetParent()))
        ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    return 0;
}

void CView::OnPaint() {
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

void CView::PostNcDestroy() {
    if (m_pDocument)
        m_pDocument->RemoveView(this);
    if (m_bAutoDelete)
        delete this;
}

BOOL CView::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    // A command from a menu or an accelerator the view did not take goes on through its frame.
    if (!lParam)
        if (CFrameWnd* frame = GetParentFrame())
            return frame->OnCmdMsg(LOWORD(static_cast<uint32_t>(wParam)), CN_COMMAND, nullptr);
    return FALSE;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, BOOL queryOnly) {
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, queryOnly))
        return TRUE;
    // F6 and Shift+F6 move to the next and previous pane of the splitter the view sits in.
    if (nCode == CN_COMMAND && (nID == ID_NEXT_PANE || nID == ID_PREV_PANE))
        if (auto* splitter = dynamic_cast<CSplitterWnd*>(GetParent())) {
            if (!queryOnly)
                splitter->ActivateNext(nID == ID_PREV_PANE ? TRUE : FALSE);
            return TRUE;
        }
    return m_pDocument ? m_pDocument->OnCmdMsg(nID, nCode, pExtra, queryOnly) : FALSE;
}
