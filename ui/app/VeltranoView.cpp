#include "VeltranoView.h"
#include "platform/gui/base/RuntimeClass.h"

#include "ui/wall/LcdGridCtrl.h"

#include "platform/gui/draw/Brush.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/Icon.h"
#include "platform/gui/frame/FrameWnd.h"
#include "platform/os/LastError.h"
#include "platform/os/System.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

IMPLEMENT_DYNCREATE(CVeltranoView, CFormView)

namespace {

constexpr UINT kTemplate = 101;
constexpr int kWallViewId = 1002;
// The file system's limit on a path: a program installed deep in folders still finds its picture.
constexpr DWORD kMaxPath = PATH_MAX;
constexpr char kLogoName[] = "\\bmp_logo.bmp";

} // namespace

CVeltranoView::CVeltranoView() : CFormView(kTemplate) {
    // Never deleted: the controllers keep the pointer for the whole run.
    PublishWallView(new (std::nothrow) LcdGridCtrl(0, 0, 0, 0));
}

CVeltranoView::~CVeltranoView() = default;

void CVeltranoView::DoDataExchange(CDataExchange* pDX) {
    CFormView::DoDataExchange(pDX);
    if (LcdGridCtrl* wallView = TheWallView())
        DDX_Control(pDX, kWallViewId, *wallView);
}

void CVeltranoView::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    if (CFrameWnd* frame = GetParentFrame())
        frame->RecalcLayout(TRUE);
    ResizeParentToFit(TRUE);
    if (LcdGridCtrl* wallView = TheWallView())
        wallView->Refit();
    LoadLogo();
}

// The form's scroll bars come or go in its own handling of the size, which resizes the view again from inside:
// the size that arrived here may already be old, so the wall is placed in the client area as it is now.
void CVeltranoView::OnSize(UINT nType, int cx, int cy) {
    CFormView::OnSize(nType, cx, cy);
    LcdGridCtrl* wallView = TheWallView();
    if (wallView && wallView->GetSafeHwnd()) {
        CRect client;
        GetClientRect(&client);
        wallView->MoveWindow(client.Width() / 5, 10, 3 * client.Width() / 5, client.Height() - 20, TRUE);
        wallView->FitToClient();
    }
}

// The picture stretched to the view's size is kept for the parts the wall view leaves uncovered, once the view
// paints again at that size: a first paint, the start's, stretches it straight onto the screen, which costs the
// start neither the parts nor copying them. Each part is stretched as the screen stretches it there (a row of the
// part right of the wall starts the stretch afresh where the wall ends), so every paint shows the same pixels.
// What the wall covers is stretched only when it is painted.
BOOL CVeltranoView::OnEraseBkgnd(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    if (!HasLogo()) {
        CBrush brush(kViewBackground);
        CBrush* old = pDC->SelectObject(&brush);
        pDC->Rectangle(&client);
        pDC->SelectObject(old);
        return TRUE;
    }
    CRect covered(0, 0, 0, 0);
    if (LcdGridCtrl* wallView = TheWallView(); wallView && wallView->GetSafeHwnd() && wallView->IsWindowVisible()) {
        wallView->GetWindowRect(&covered);
        ScreenToClient(&covered);
        covered.IntersectRect(&covered, &client);
    }
    if (client != m_partsClient || covered != m_partsCovered) {
        m_logoParts.clear();
        m_partsClient = client;
        m_partsCovered = covered;
        StretchLogo(pDC, client, CPoint(0, 0));
        return TRUE;
    }
    if (m_logoParts.empty())
        MakeLogoParts(pDC, client, covered);
    CRect painted;
    pDC->GetClipBox(&painted);
    CDC memory;
    memory.CreateCompatibleDC(pDC);
    for (const LogoPart& part : m_logoParts) {
        if (part.bitmap) {
            CBitmap* old = memory.SelectObject(part.bitmap.get());
            pDC->BitBlt(part.rect.left, part.rect.top, part.rect.Width(), part.rect.Height(), &memory, 0, 0, SRCCOPY);
            memory.SelectObject(old);
        } else if (CRect crossed; crossed.IntersectRect(&painted, &part.rect)) {
            const int saved = pDC->SaveDC();
            pDC->IntersectClipRect(&part.rect);
            StretchLogo(pDC, client, CPoint(0, 0));
            pDC->RestoreDC(saved);
        }
    }
    return TRUE;
}

// The parts beside, above and below the wall keep their picture; the wall's own part (or one whose picture could
// not be made) keeps none.
void CVeltranoView::MakeLogoParts(CDC* pDC, const CRect& client, const CRect& covered) {
    if (covered.IsRectEmpty()) {
        m_logoParts.push_back({client, nullptr});
    } else {
        for (const CRect& rect : {CRect(client.left, client.top, client.right, covered.top),
                                  CRect(client.left, covered.top, covered.left, covered.bottom),
                                  CRect(covered.right, covered.top, client.right, covered.bottom),
                                  CRect(client.left, covered.bottom, client.right, client.bottom)})
            m_logoParts.push_back({rect, nullptr});
    }
    CDC memory;
    memory.CreateCompatibleDC(pDC);
    for (LogoPart& part : m_logoParts) {
        auto bitmap = std::make_unique<CBitmap>();
        if (part.rect.IsRectEmpty() || !bitmap->CreateCompatibleBitmap(pDC, part.rect.Width(), part.rect.Height()))
            continue;
        CBitmap* old = memory.SelectObject(bitmap.get());
        StretchLogo(&memory, client, part.rect.TopLeft());
        memory.SelectObject(old);
        part.bitmap = std::move(bitmap);
    }
    if (!covered.IsRectEmpty())
        m_logoParts.push_back({covered, nullptr});
}

void CVeltranoView::StretchLogo(CDC* pDC, const CRect& client, CPoint offset) {
    CDC memory;
    memory.CreateCompatibleDC(pDC);
    CBitmap* old = memory.SelectObject(&m_logo);
    BITMAP picture{};
    m_logo.GetBitmap(&picture);
    pDC->SetStretchBltMode(HALFTONE);
    pDC->SetBrushOrg(0, 0);
    pDC->StretchBlt(-offset.x, -offset.y, client.Width(), client.Height(), &memory, 0, 0, picture.bmWidth,
                    picture.bmHeight, SRCCOPY);
    memory.SelectObject(old);
}

void CVeltranoView::LoadLogo() {
    std::vector<char> path(kMaxPath + sizeof kLogoName, '\0');
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), kMaxPath);
    // A full buffer holds a cut path, which would name some other folder's picture.
    if (length == 0 || length >= kMaxPath) {
        std::printf("GetModuleFileName failed (%d)\n", static_cast<int>(GetLastError()));
        return;
    }
    // The name is in the file system's encoding: cut at the last backslash byte.
    if (char* slash = std::strrchr(path.data(), '\\'))
        *slash = '\0';
    std::strcat(path.data(), kLogoName);
    HANDLE picture = LoadImageA(nullptr, path.data(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (picture)
        m_logo.Attach(static_cast<HGDIOBJ>(picture));
}
