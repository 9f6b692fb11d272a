#include "platform/gui/base/RuntimeClass.h"
#include "platform/gui/controls/Edit.h"
#include "platform/gui/dialogs/Dialog.h"
#include "platform/gui/draw/Bitmap.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/draw/ImageList.h"
#include "platform/gui/draw/Rgn.h"
#include "platform/gui/frame/FrameWnd.h"
#include "platform/gui/frame/FrameworkIds.h"
#include "platform/gui/frame/Menu.h"
#include "platform/gui/frame/MenuStyle.h"
#include "platform/gui/frame/ResourceTable.h"
#include "platform/gui/frame/SplitterWnd.h"
#include "platform/gui/frame/WinApp.h"
#include "platform/gui/window/Cursor.h"
#include "platform/gui/window/Wnd.h"
#include "platform/os/LastError.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// NULL and C casts are written as the callers write them: these tests also check that those calls compile.

namespace {

class CPlainPane : public CWnd {};

// Asks what the grid asks when the capture moves: whether the window that gains it is this one.
class CCaptureWatcher : public CWnd {
public:
    void OnCaptureChanged(CWnd* pWnd) override {
        ++changes;
        gainedBySelf = SafeHwndOf(pWnd) == GetSafeHwnd();
        CWnd::OnCaptureChanged(pWnd);
    }
    int changes = 0;
    bool gainedBySelf = true;
};

class CColouredControl : public CWnd {
public:
    HBRUSH CtlColor(CDC* /*pDC*/, UINT nCtlColor) override {
        asked = nCtlColor;
        return reinterpret_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    UINT asked = 0xFFFF;
};

// Measures each owner-drawn item from its item data: width in the low word, height in the high word.
class CMeasuringOwner : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_MEASUREITEM) {
            auto* item = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
            item->itemWidth = LOWORD(static_cast<DWORD>(item->itemData));
            item->itemHeight = HIWORD(static_cast<DWORD>(item->itemData));
            return TRUE;
        }
        if (message == WM_DRAWITEM)
            return TRUE;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

WORD WordAt(const BYTE* data, size_t index) { return MAKEWORD(data[2 * index], data[2 * index + 1]); }

const MenuTemplate kProbeMenus[] = {
    {9100,
     {{"&File", 0, MF_POPUP, {{"&Open\tCtrl+O", 0x101, 0}, {nullptr, 0, MF_SEPARATOR}, {"E&xit", 0x102, MF_GRAYED}}},
      {"&Help", 0x103, 0}}},
};
const ToolBarTemplate kProbeBars[] = {{9101, 16, 15, {0x101, 0, 0x102}}};
const StringTemplate kProbeStrings[] = {{9102, "Video wall"}, {AFX_IDS_APP_TITLE, "Probe"}};

} // namespace

TEST(FrameworkCalls, LayerClassesReportTheirOwnRunTimeClass) {
    CEdit edit;
    EXPECT_TRUE(edit.IsKindOf(RUNTIME_CLASS(CEdit)));
    EXPECT_TRUE(edit.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_FALSE(edit.IsKindOf(RUNTIME_CLASS(CDialog)));
    CSplitterWnd splitter;
    EXPECT_TRUE(splitter.IsKindOf(RUNTIME_CLASS(CSplitterWnd)));
    EXPECT_FALSE(splitter.IsKindOf(RUNTIME_CLASS(CFrameWnd)));
    CDialog dialog;
    EXPECT_TRUE(dialog.IsKindOf(RUNTIME_CLASS(CDialog)));
    CMenu menu;
    EXPECT_TRUE(menu.IsKindOf(RUNTIME_CLASS(CMenu)));
    EXPECT_FALSE(menu.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_STREQ(RUNTIME_CLASS(CFrameWnd)->m_lpszClassName, "CFrameWnd");

    // A program class that declares nothing is known as its nearest layer class.
    CPlainPane pane;
    EXPECT_EQ(pane.GetRuntimeClass(), RUNTIME_CLASS(CWnd));
    EXPECT_FALSE(pane.IsKindOf(RUNTIME_CLASS(CEdit)));

    // Records are plain pointers, and a frame can still be made from its record.
    CRuntimeClass* frameClass = RUNTIME_CLASS(CFrameWnd);
    std::unique_ptr<CObject> frame(frameClass->CreateObject());
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->IsKindOf(RUNTIME_CLASS(CFrameWnd)));
}

TEST(FrameworkCalls, CaptureQuestionsAreSafeWhenNoWindowHoldsIt) {
    CCaptureWatcher watcher;
    ASSERT_TRUE(watcher.CreateEx(0, nullptr, "watch", WS_POPUP, CRect(0, 0, 20, 20), nullptr, 0));
    watcher.SetCapture();
    ReleaseCapture();
    EXPECT_EQ(watcher.changes, 1);
    EXPECT_FALSE(watcher.gainedBySelf);
    EXPECT_EQ(CWnd::SafeHwndOf(CWnd::GetCapture()), nullptr);
    EXPECT_EQ(watcher.GetSafeHwnd(), &watcher);
    watcher.DestroyWindow();
    EXPECT_EQ(watcher.GetSafeHwnd(), nullptr);
}

TEST(FrameworkCalls, AControlAnswersItsDialogsColourQuestion) {
    CDialog dialog;
    CColouredControl control;
    EXPECT_EQ(dialog.OnCtlColor(nullptr, &control, CTLCOLOR_BTN), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(control.asked, CTLCOLOR_BTN);
    EXPECT_EQ(dialog.OnCtlColor(nullptr, nullptr, CTLCOLOR_BTN), nullptr);
}

TEST(FrameworkCalls, OwnerDrawnItemsWithATabAreAsWideAsMeasured) {
    CMeasuringOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPED, CRect(0, 0, 200, 200), nullptr, 0));
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    CMenuStyle::SetMenuOwner(menu.m_hMenu, &owner);
    ASSERT_TRUE(menu.AppendMenu(MF_STRING, 300, "&Open\tCtrl+O"));
    ASSERT_TRUE(menu.AppendMenu(MF_STRING, 301, "E&xit\tAlt+F4"));

    // Converted in place, as a skinned menu converts its items.
    for (UINT pos = 0; pos < 2; ++pos) {
        char text[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = 48;
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
        info.dwTypeData = text;
        info.cch = 255;
        ASSERT_TRUE(::GetMenuItemInfoA(menu.m_hMenu, pos, TRUE, &info));
        info.fType |= MFT_OWNERDRAW;
        ASSERT_TRUE(::SetMenuItemInfoA(menu.m_hMenu, pos, TRUE, &info));
        info.fMask = MIIM_DATA;
        info.dwItemData = MAKELONG(106, 18);
        ASSERT_TRUE(::SetMenuItemInfoA(menu.m_hMenu, pos, TRUE, &info));
    }
    EXPECT_EQ(::GetMenuItemCount(menu.m_hMenu), 2);
    // The item keeps its text for whoever reads it back.
    CString text;
    menu.GetMenuString(300, text, MF_BYCOMMAND);
    EXPECT_EQ(std::string(text), "&Open\tCtrl+O");

    menu.m_hMenu->popup(QPoint(40, 40));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu.m_hMenu));
    EXPECT_EQ(menu.m_hMenu->actionGeometry(menu.m_hMenu->actions().at(0)).width(), 106);
    EXPECT_EQ(menu.m_hMenu->actionGeometry(menu.m_hMenu->actions().at(1)).height(), 18);
    menu.m_hMenu->hide();
}

TEST(FrameworkCalls, APopupItemsMeasureIdIsAMenuAndACommandIdIsNot) {
    CMenu bar;
    CMenu sub;
    ASSERT_TRUE(bar.CreatePopupMenu());
    ASSERT_TRUE(sub.CreatePopupMenu());
    HMENU subHandle = sub.m_hMenu;
    ASSERT_TRUE(::AppendMenuA(bar.m_hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), "&View"));
    ASSERT_TRUE(::AppendMenuA(bar.m_hMenu, MF_STRING, 0x120, "&Close"));

    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemID = CMenu::ActionItemId(bar.m_hMenu->actions().at(0));
    EXPECT_TRUE(IsMenu((HMENU)measure.itemID));
    EXPECT_EQ((HMENU)measure.itemID, subHandle);
    measure.itemID = 0x120;
    EXPECT_FALSE(IsMenu((HMENU)measure.itemID));
    measure.itemID = 0x7FFFFFFF;
    EXPECT_FALSE(IsMenu((HMENU)measure.itemID));

    EXPECT_EQ(::GetMenuState(bar.m_hMenu, 1, MF_BYPOSITION) & MF_GRAYED, 0u);
    EXPECT_TRUE(::ModifyMenuA(bar.m_hMenu, 1, MF_BYPOSITION | MF_STRING | MF_GRAYED, 0x120, "&Close"));
    EXPECT_EQ(::GetMenuState(bar.m_hMenu, 0x120, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
    EXPECT_EQ(::GetMenuItemCount(nullptr), -1);
    EXPECT_FALSE(::AppendMenuA(nullptr, MF_STRING, 1, "x"));
}

TEST(FrameworkCalls, TheSystemCheckMarkLoadsWithoutAModule) {
    HBITMAP check = ::LoadBitmap(NULL, MAKEINTRESOURCE(OBM_CHECK));
    ASSERT_NE(check, nullptr);
    HBITMAP oem = LoadOEMBitmap(OBM_CHECK);
    BITMAP a{}, b{};
    ASSERT_NE(GetObject(check, sizeof(a), &a), 0);
    ASSERT_NE(GetObject(oem, sizeof(b), &b), 0);
    EXPECT_EQ(a.bmWidth, b.bmWidth);
    EXPECT_EQ(a.bmHeight, b.bmHeight);
    DeleteObject(check);
    DeleteObject(oem);
}

TEST(FrameworkCalls, MessagePositionsAndRectanglePointersConvert) {
    const CPoint pt(static_cast<DWORD>(MAKELONG(static_cast<WORD>(-5), 300)));
    EXPECT_EQ(pt, CPoint(-5, 300));
    const POINTS pts = MAKEPOINTS(MAKELPARAM(10, static_cast<WORD>(-2)));
    EXPECT_EQ(pts.x, 10);
    EXPECT_EQ(pts.y, -2);
    EXPECT_EQ(MAKEWORD(0x34, 0x12), 0x1234);

    const RECT given{1, 2, 11, 12};
    LPCRECT lpHoverRect = &given;
    CRect r(lpHoverRect);
    EXPECT_EQ(r, CRect(1, 2, 11, 12));
    CRect hover;
    hover = lpHoverRect;
    EXPECT_EQ(hover, r);
    EXPECT_EQ(CRect(static_cast<LPCRECT>(nullptr)), CRect());
    EXPECT_FALSE(::IsRectEmpty(lpHoverRect));
    EXPECT_TRUE(::IsRectEmpty(nullptr));
    RECT out;
    EXPECT_FALSE(::IntersectRect(&out, &given, nullptr));
    const RECT other{20, 20, 30, 30};
    EXPECT_FALSE(::IntersectRect(&out, &given, &other));
    EXPECT_TRUE(CRect(out).IsRectNull());
}

TEST(FrameworkCalls, ResourcesAreFoundInTheTables) {
    CResourceTable::AddMenus(kProbeMenus);
    CResourceTable::AddToolBars(kProbeBars);
    CResourceTable::AddStrings(kProbeStrings);

    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(9100), RT_MENU);
    HRSRC found = ::FindResource(module, MAKEINTRESOURCE(9100), RT_MENU);
    ASSERT_NE(found, nullptr);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(data, nullptr);
    const std::vector<WORD> file = {
        0,
        0, // header
        MF_POPUP,
        '&',
        'F',
        'i',
        'l',
        'e',
        0, // pop-up: no id
        0,
        0x101,
        '&',
        'O',
        'p',
        'e',
        'n',
        '\t',
        'C',
        't',
        'r',
        'l',
        '+',
        'O',
        0,
        0,
        0,
        0, // separator
        MF_GRAYED | MF_END,
        0x102,
        'E',
        '&',
        'x',
        'i',
        't',
        0, // closes the pop-up
        MF_END,
        0x103,
        '&',
        'H',
        'e',
        'l',
        'p',
        0, // closes the bar
    };
    ASSERT_EQ(SizeofResource(module, found), file.size() * 2);
    for (size_t i = 0; i < file.size(); ++i)
        EXPECT_EQ(WordAt(data, i), file[i]) << "word " << i;

    HRSRC bar = ::FindResource(module, MAKEINTRESOURCE(9101), RT_TOOLBAR);
    ASSERT_NE(bar, nullptr);
    const auto* barData = static_cast<const BYTE*>(LockResource(LoadResource(module, bar)));
    const std::vector<WORD> record = {1, 16, 15, 3, 0x101, 0, 0x102};
    for (size_t i = 0; i < record.size(); ++i)
        EXPECT_EQ(WordAt(barData, i), record[i]) << "word " << i;

    // Missing, named and foreign handles give nothing.
    EXPECT_EQ(::FindResource(module, MAKEINTRESOURCE(9199), RT_MENU), nullptr);
    EXPECT_EQ(::FindResource(module, "named", RT_MENU), nullptr);
    EXPECT_EQ(::FindResource(module, MAKEINTRESOURCE(9100), MAKEINTRESOURCE(2)), nullptr);
    HGLOBAL foreign = GlobalAlloc(GMEM_MOVEABLE, 16);
    EXPECT_EQ(LockResource(foreign), nullptr);
    GlobalFree(foreign);

    CString title;
    EXPECT_TRUE(title.LoadString(9102));
    EXPECT_EQ(std::string(title), "Video wall");
    EXPECT_FALSE(title.LoadString(9199));
    EXPECT_TRUE(title.IsEmpty());
}

// The remaining calls as callers write them; they must compile under the warnings and do what they say.
TEST(FrameworkCalls, CallsWrittenAgainstThePlatformCompileAndWork) {
    WNDCLASS wndcls{};
    wndcls.lpfnWndProc = DefWindowProcA;
    EXPECT_EQ(wndcls.lpfnWndProc(nullptr, WM_NULL, 0, 0), 0);

    CWnd tip;
    ASSERT_TRUE(tip.CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "TitleTipWnd", NULL, WS_BORDER | WS_POPUP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL, NULL));
    EXPECT_EQ(LOWORD(static_cast<DWORD>(::GetWindowLongA(tip.m_hWnd, GWL_STYLE))), 0);
    EXPECT_NE(static_cast<DWORD>(::GetWindowLongA(tip.m_hWnd, GWL_STYLE)) & WS_POPUP, 0u);
    EXPECT_EQ(::SendMessageA(tip.m_hWnd, WM_NULL, (WPARAM) nullptr, 0), 0);
    EXPECT_TRUE(::InvalidateRect(tip.m_hWnd, NULL, FALSE));
    EXPECT_TRUE(
        ::SetWindowPos(tip.m_hWnd, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED));
    EXPECT_FALSE(::InvalidateRect(nullptr, NULL, FALSE));
    tip.DestroyWindow();

    HIMAGELIST himl = ImageList_Create(16, 15, ILC_COLOR24 | ILC_MASK, 1, 1);
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(himl, &cx, &cy));
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 15);
    ImageList_Destroy(himl);
    EXPECT_FALSE(ImageList_GetIconSize(himl, &cx, &cy));

    EXPECT_EQ(reinterpret_cast<uintptr_t>(MAKEINTRESOURCEW(9100)), 9100u);

    CWinApp app("probe");
    EXPECT_NE(AfxGetApp()->LoadStandardCursor(IDC_ARROW), nullptr);
    EXPECT_TRUE(AfxOleInit());
    EXPECT_TRUE(AfxGetThreadState()->m_bNeedTerm);

    // The title a printed page carries in its header.
    CResourceTable::AddStrings(kProbeStrings);
    CString right;
    EXPECT_TRUE(right.LoadString(AFX_IDS_APP_TITLE));
    EXPECT_EQ(std::string(right), "Probe");
}

// Calls the program never makes in these forms say no instead of quietly doing something else.
TEST(FrameworkCalls, UnsupportedFormsAreRefusedWithAReason) {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 40, 40), nullptr, 0));
    TRACKMOUSEEVENT hover{sizeof(TRACKMOUSEEVENT), TME_HOVER | TME_LEAVE, wnd.m_hWnd, 400};
    EXPECT_FALSE(TrackMouseEvent(&hover));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
    TRACKMOUSEEVENT leave{sizeof(TRACKMOUSEEVENT), TME_LEAVE, wnd.m_hWnd, 0};
    EXPECT_TRUE(TrackMouseEvent(&leave));

    SetLastError(0);
    EXPECT_EQ(SetWindowLong(wnd.m_hWnd, GWL_USERDATA, 42), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
    EXPECT_EQ(GetWindowLong(wnd.m_hWnd, GWL_USERDATA), 0);

    CRgn region;
    ASSERT_TRUE(region.CreateRectRgn(0, 0, 10, 10));
    EXPECT_FALSE(wnd.RedrawWindow(nullptr, &region, RDW_INVALIDATE));
    EXPECT_TRUE(wnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE));

    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    ASSERT_TRUE(dc.AttachImage(&image));
    const int widths[] = {5, 5};
    EXPECT_FALSE(dc.ExtTextOut(0, 0, 0, nullptr, "ab", 2, widths));
    EXPECT_TRUE(dc.ExtTextOut(0, 0, 0, nullptr, "ab", 2, nullptr));
}
