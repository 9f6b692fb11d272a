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

BOOL CVeltranoView::OnEraseBkgnd(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    if (HasLogo()) {
        CDC memory;
        memory.CreateCompatibleDC(pDC);
        CBitmap* old = memory.SelectObject(&m_logo);
        BITMAP picture{};
        m_logo.GetBitmap(&picture);
        pDC->SetStretchBltMode(HALFTONE);
        pDC->SetBrushOrg(0, 0);
        pDC->StretchBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, picture.bmWidth, picture.bmHeight,
                        SRCCOPY);
        memory.SelectObject(old);
    } else {
        CBrush brush(kViewBackground);
        CBrush* old = pDC->SelectObject(&brush);
        pDC->Rectangle(&client);
        pDC->SelectObject(old);
    }
    return TRUE;
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
