#pragma once

#include "platform/gui/base/Handles.h"
#include "platform/gui/window/CmdTarget.h"
#include "platform/gui/window/Keys.h"
#include "platform/gui/window/Messages.h"
#include "platform/gui/window/OwnerDraw.h"
#include "platform/gui/window/QtMessageBox.h"
#include "platform/gui/window/ScrollInfo.h"
#include "platform/gui/window/WindowClass.h"
#include "platform/gui/window/WindowStyles.h"
#include "platform/os/Object.h"
#include "platform/os/Point.h"
#include "platform/os/Rect.h"
#include "platform/os/String.h"

#include <memory>
#include <type_traits>

class QEvent;
class QMenu;
class QImage;
class QObject;
class QRegion;
class QWidget;
class CDC;
class CFont;
class CFrameWnd;
class CHostWidget;
class CMenu;
class CScrollBar;
class CWndBridge;
struct WindowSurface;

struct CREATESTRUCT {
    void* lpCreateParams;
    HINSTANCE hInstance;
    void* hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCTSTR lpszName;
    LPCTSTR lpszClass;
    DWORD dwExStyle;
};
typedef CREATESTRUCT* LPCREATESTRUCT;

// CreateEx's id-or-menu argument: a child's control id or a window's menu handle. NULL (a long) takes the
// menu form, as it is a null handle on the platform.
class MenuOrId {
public:
    template <class T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, long>, int> = 0>
    MenuOrId(T id) : m_value(static_cast<UINT_PTR>(id)) {} // NOLINT: converts implicitly like the platform's
    MenuOrId(QMenu* menu) : m_value(reinterpret_cast<UINT_PTR>(menu)) {} // NOLINT
    UINT_PTR Value() const { return m_value; }

private:
    UINT_PTR m_value;
};

typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

// Position or size left to the system: a popup or child gets (0, 0) and an empty size.
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// The framework's window object: a handle over a QWidget. It either creates its own host widget (a window the
// program draws itself, with a retained client image, optional client edge and standard scroll bars) or attaches
// to a widget that exists already (a dialog control it subclasses). Qt's events reach the handlers below with the
// framework's names and arguments through WindowProc, so derived classes override handlers as the framework's
// classes do, and SendMessage/PostMessage reach the same handlers.
class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    ~CWnd() override;

    // This object while a widget is attached, else null; code written against handles tests it.
    HWND m_hWnd;

    // Insert-after markers of SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    // Creation and destruction. The class name picks a registered window class (class style and cursor);
    // unknown or null names give a plain window with double clicks.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, void* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                          const RECT& rect, CWnd* pParentWnd, UINT nID, void* lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                  int nWidth, int nHeight, HWND hWndParent, MenuOrId nIDorHMenu, void* lpParam = nullptr);
    virtual BOOL DestroyWindow();

    // Attaching to an existing widget. SubclassWindow also calls PreSubclassWindow; Attach does not.
    BOOL Attach(QWidget* widget);
    QWidget* Detach();
    BOOL SubclassWindow(QWidget* widget);
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    QWidget* UnsubclassWindow();
    virtual void PreSubclassWindow();
    virtual void PostNcDestroy();

    // The window object of a handle, and of a widget: the attached object, or a plain one the layer keeps for
    // the widget's lifetime when none is attached (null for a null widget).
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    static CWnd* FromWidget(QWidget* widget);
    static CWnd* FromWidgetPermanent(const QWidget* widget);

    // The handle, or null when no window is attached. Calling it through a pointer that may be null (the
    // capture-change argument, GetCapture(), GetFocus()) is undefined in C++: write SafeHwndOf(pWnd) there, which
    // answers null for a null pointer.
    HWND GetSafeHwnd() const { return SafeHwndOf(this); }
    static HWND SafeHwndOf(const CWnd* pWnd);
    QWidget* GetHostWidget() const;
    // The host widget of a window this object created (or a host widget it attached to), else null.
    CHostWidget* GetHost() const;

    // Identity and relations.
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    // A control no object is bound to comes back as a lasting object of its own class (CComboBox, CButton, CEdit,
    // CStatic, CListCtrl), so the caller may cast it to that class.
    CWnd* GetDlgItem(int nID) const;
    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* pWndNewParent);
    CWnd* GetOwner() const;
    void SetOwner(CWnd* pOwnerWnd);
    CWnd* GetTopLevelParent() const;
    // The nearest frame window among the ancestors, or null.
    CFrameWnd* GetParentFrame() const;
    // The next (or previous) visible, enabled control of this dialog that takes the focus by Tab, after the given
    // one (from the start for null), wrapping around; null when no other control qualifies.
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
    BOOL IsChild(const CWnd* pWnd) const;

    // Styles. WS_VISIBLE, WS_DISABLED, WS_HSCROLL and WS_VSCROLL follow the window's state.
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    // Text, in GBK.
    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    // A message box under this window; a null caption is the application's name.
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK);

    // WM_SETFONT and WM_GETFONT carry font handles, as on the platform.
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;

    // Geometry: client coordinates start at the client area's top left; window rectangles are in screen
    // coordinates; child positions are relative to the parent's client area.
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const;
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    void BringWindowToTop();

    // State.
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsWindowEnabled() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);

    // Painting. Windows the program draws paint straight on the screen; one that draws outside its paints keeps a
    // retained client image while the screen holds what its paints would not draw.
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    // The rectangle's one-pixel frame: what a focus rectangle drawn there covers.
    void InvalidateFrame(LPCRECT lpRect, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    void UpdateWindow();
    // RDW_INVALIDATE, RDW_ERASE, RDW_VALIDATE, RDW_UPDATENOW and RDW_ERASENOW over a rectangle (null: the client
    // area). Not supported: an update region (the call fails), and the flags for children, frames and internal
    // paints (RDW_ALLCHILDREN, RDW_NOCHILDREN, RDW_FRAME, RDW_NOFRAME, RDW_INTERNALPAINT, RDW_NOINTERNALPAINT,
    // RDW_NOERASE), which change nothing.
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, void* prgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE);
    // The retained image, made now (as the window's paints draw it) when the window keeps none; what a DC taken
    // outside a paint draws on.
    QImage* GetClientImage();
    CRect GetPaintRect() const;
    // During OnPaint the region being painted, of which GetPaintRect is the bounding rectangle; a paint DC
    // that clips to it leaves the rest of the retained image as it was, as on the platform.
    QRegion GetPaintRegion() const;
    void UpdateScreen(const RECT* rect = nullptr);
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* pDC);

    // Focus, capture, activation.
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    static CWnd* GetCapture();
    static CWnd* GetActiveWindow();
    // The program's active top-level window: the program sees no other program's windows.
    static CWnd* GetForegroundWindow();
    // The screen as a window: its rectangles are the screen's, its DCs are the screen DC, it is never destroyed.
    static CWnd* GetDesktopWindow();
    CWnd* SetActiveWindow();
    BOOL SetForegroundWindow();

    // Timers reach OnTimer (or the callback) with their id. The result is the id, and for id 0 (a valid id of a
    // window's timer) a nonzero value, as 0 means failure.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // Messages. SendMessage calls WindowProc at once; PostMessage queues the message for the event loop.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default();
    static const MSG* GetCurrentMessage();
    // Called for input and posted messages before they are dispatched, on the target and then on its parents
    // up to the top-level window; TRUE stops the message.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // Standard scroll bars of a host window. GetScrollInfo reads what nMask names (it becomes the record's fMask);
    // SetScrollInfo takes what the record's fMask names and answers TRUE once the bar holds it.
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    int GetScrollPos(int nBar) const;
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    void GetScrollRange(int nBar, int* lpMinPos, int* lpMaxPos) const;
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE);
    BOOL EnableScrollBar(int nSBFlags, UINT nArrowFlags = ESB_ENABLE_BOTH);
    int GetScrollLimit(int nBar);

    // Handlers, reached through WindowProc. The defaults run the window's default processing.
    virtual int OnCreate(LPCREATESTRUCT lpCreateStruct);
    virtual void OnDestroy();
    virtual void OnNcDestroy();
    virtual void OnClose();
    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(CDC* pDC);
    virtual void OnSize(UINT nType, int cx, int cy);
    virtual void OnMove(int x, int y);
    virtual void OnShowWindow(BOOL bShow, UINT nStatus);
    virtual void OnEnable(BOOL bEnable);
    // Top-level windows only, as on the platform.
    virtual void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    virtual void OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnLButtonUp(UINT nFlags, CPoint point);
    virtual void OnLButtonDblClk(UINT nFlags, CPoint point);
    virtual void OnRButtonDown(UINT nFlags, CPoint point);
    virtual void OnRButtonUp(UINT nFlags, CPoint point);
    virtual void OnRButtonDblClk(UINT nFlags, CPoint point);
    virtual void OnMButtonDown(UINT nFlags, CPoint point);
    virtual void OnMButtonUp(UINT nFlags, CPoint point);
    virtual void OnMButtonDblClk(UINT nFlags, CPoint point);
    virtual void OnMouseMove(UINT nFlags, CPoint point);
    virtual BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    virtual void OnMouseLeave();
    virtual LRESULT OnNcHitTest(CPoint point);
    virtual void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    virtual BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    virtual void OnCaptureChanged(CWnd* pWnd);
    virtual void OnCancelMode();
    virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual UINT OnGetDlgCode();
    virtual void OnSetFocus(CWnd* pOldWnd);
    virtual void OnKillFocus(CWnd* pNewWnd);
    virtual void OnTimer(UINT_PTR nIDEvent);
    virtual void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    virtual void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    virtual void OnSysColorChange();
    virtual void OnContextMenu(CWnd* pWnd, CPoint pos);
    // Menus this window owns. A menu item goes by default to the CMenu attached to its menu (DrawItem,
    // MeasureItem); WM_MENUCHAR's default is MNC_IGNORE.
    virtual void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    virtual void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    virtual void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    // The base versions reflect a control's WM_COMMAND or WM_NOTIFY to the control's OnChildNotify first.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A notification its parent reflected back to this control; TRUE when handled.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A control's colours, reflected from its parent's WM_CTLCOLOR: a brush, or null to leave them to the parent.
    virtual HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);

protected:
    // The dispatch of WindowProc: cracks a message into its handler. FALSE when no handler exists for it.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

private:
    friend class CWndBridge;
    friend class CHostWidget;
    friend WindowSurface WindowSurfaceOf(CWnd* wnd);
    friend BOOL TrackMouseEvent(struct TRACKMOUSEEVENT* lpEventTrack);
    explicit CWnd(intptr_t marker);

    BOOL AttachWidget(QWidget* widget, bool owned, bool subclass, bool wrapper = false);
    void DetachWidget();
    void NotifyDestroyed(bool widgetGone);
    static void SendEraseBackground(CWnd* wnd);
    LRESULT EraseWithClassBackground(WPARAM dc);
    void SynthesizeKey(UINT vk, bool down);

    std::unique_ptr<CWndBridge> m_bridge;
};

// Free functions of the platform that work on handles.
BOOL IsWindow(HWND hWnd);
// Whether a window object still exists, window or not, without touching it: one that failed to create its window
// may have deleted itself with it.
bool WndObjectExists(const CWnd* wnd);
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// The narrow-text names the same functions have on the platform.
inline LRESULT DefWindowProcA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(hWnd, message, wParam, lParam);
}
inline LRESULT SendMessageA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessage(hWnd, message, wParam, lParam);
}
BOOL InvalidateRect(HWND hWnd, LPCRECT lpRect, BOOL bErase);
// hWndInsertAfter takes the platform's HWND_TOP, HWND_BOTTOM, HWND_TOPMOST and HWND_NOTOPMOST too.
BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags);
HWND GetFocus();
HWND SetFocus(HWND hWnd);
HWND GetCapture();
HWND SetCapture(HWND hWnd);
BOOL ReleaseCapture();
HWND GetActiveWindow();
HWND GetParent(HWND hWnd);
BOOL IsWindowVisible(HWND hWnd);
BOOL IsWindowEnabled(HWND hWnd);
BOOL EnableWindow(HWND hWnd, BOOL bEnable);
BOOL ShowWindow(HWND hWnd, int nCmdShow);
BOOL GetClientRect(HWND hWnd, LPRECT lpRect);
BOOL GetWindowRect(HWND hWnd, LPRECT lpRect);
BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint);
BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint);
// GWL_STYLE, GWL_EXSTYLE and GWL_ID. The other indexes (GWL_USERDATA, GWL_WNDPROC, GWL_HINSTANCE,
// GWL_HWNDPARENT) are not supported: they answer 0 with ERROR_INVALID_INDEX and change nothing.
LONG GetWindowLong(HWND hWnd, int nIndex);
LONG SetWindowLong(HWND hWnd, int nIndex, LONG dwNewLong);
inline LONG GetWindowLongA(HWND hWnd, int nIndex) { return GetWindowLong(hWnd, nIndex); }
inline LONG SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong) { return SetWindowLong(hWnd, nIndex, dwNewLong); }
HWND WindowFromPoint(POINT point);
short GetKeyState(int nVirtKey);
short GetAsyncKeyState(int vKey);
DWORD GetMessagePos();
DWORD GetMessageTime();
HWND GetForegroundWindow();
HWND GetDesktopWindow();
HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious);

// Named values kept with a window, visible to Qt code as dynamic properties of the same name. Names of Qt's own
// properties are refused.
BOOL SetProp(HWND hWnd, LPCTSTR lpString, HANDLE hData);
HANDLE GetProp(HWND hWnd, LPCTSTR lpString);
HANDLE RemoveProp(HWND hWnd, LPCTSTR lpString);

// The window's class: the name it was created with, else the platform's name for the kind of control ("Button",
// "Edit", "#32768" for a popup menu...). Returns the length copied, 0 on failure.
int GetClassName(HWND hWnd, LPTSTR lpClassName, int nMaxCount);

// A window's DC by handle; a null window (or the desktop) gives the screen DC. Each is released by ReleaseDC with
// the same window.
HDC GetDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC hDC);

// Mouse-leave tracking.
constexpr DWORD TME_HOVER = 0x00000001;
constexpr DWORD TME_LEAVE = 0x00000002;
constexpr DWORD TME_NONCLIENT = 0x00000010;
constexpr DWORD TME_QUERY = 0x40000000;
constexpr DWORD TME_CANCEL = 0x80000000;
struct TRACKMOUSEEVENT {
    DWORD cbSize;
    DWORD dwFlags;
    HWND hwndTrack;
    DWORD dwHoverTime;
};
typedef TRACKMOUSEEVENT* LPTRACKMOUSEEVENT;
// Leave tracking (TME_LEAVE, with TME_CANCEL and TME_QUERY): one WM_MOUSELEAVE when the pointer leaves the
// window. Hover tracking (TME_HOVER) and non-client tracking (TME_NONCLIENT) are not supported: the call fails
// with ERROR_INVALID_FLAGS.
BOOL TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack);
inline BOOL _TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack) { return TrackMouseEvent(lpEventTrack); }

// Sends WM_SYSCOLORCHANGE to every window, top-level windows first, as the system does after a colour change.
void BroadcastSysColorChange();

// A widget (or an ancestor) that runs the dialog manager's keyboard rules: Tab, Enter and Escape go to a control
// only when its dialog code asks for them. QDialog windows always count.
void SetDialogManager(QWidget* widget, bool on = true);
