#pragma once

#include "platform/gui/window/Wnd.h"

#include <memory>
#include <vector>

class QTimer;

// Tool-tip messages, flags and record with the platform's values.
constexpr UINT TTM_ACTIVATE = WM_USER + 1;
constexpr UINT TTM_SETDELAYTIME = WM_USER + 3;
constexpr UINT TTM_ADDTOOL = WM_USER + 4;
constexpr UINT TTM_DELTOOL = WM_USER + 5;
constexpr UINT TTM_RELAYEVENT = WM_USER + 7;
constexpr UINT TTM_UPDATETIPTEXT = WM_USER + 12;
constexpr UINT TTM_GETTOOLCOUNT = WM_USER + 13;
constexpr UINT TTM_SETMAXTIPWIDTH = WM_USER + 24;
constexpr UINT TTM_GETMAXTIPWIDTH = WM_USER + 25;
constexpr UINT TTM_POP = WM_USER + 28;
constexpr UINT TTM_ADDTOOLA = TTM_ADDTOOL;
constexpr UINT TTM_DELTOOLA = TTM_DELTOOL;
constexpr UINT TTM_UPDATETIPTEXTA = TTM_UPDATETIPTEXT;

constexpr DWORD TTS_ALWAYSTIP = 0x01;
constexpr DWORD TTS_NOPREFIX = 0x02;

constexpr UINT TTF_IDISHWND = 0x0001;
constexpr UINT TTF_CENTERTIP = 0x0002;
constexpr UINT TTF_SUBCLASS = 0x0010;

constexpr DWORD TTDT_AUTOMATIC = 0;
constexpr DWORD TTDT_RESHOW = 1;
constexpr DWORD TTDT_AUTOPOP = 2;
constexpr DWORD TTDT_INITIAL = 3;

// One tool: a window (TTF_IDISHWND: the window in uId, its whole client area) or a rectangle of a window.
// lpszText is GBK text; the tool tip keeps its own copy.
struct TOOLINFO {
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;
    UINT_PTR uId;
    RECT rect;
    HINSTANCE hinst;
    LPTSTR lpszText;
    LPARAM lParam;
};
typedef TOOLINFO TOOLINFOA;
typedef TOOLINFO* LPTOOLINFO;

// A tool tip shown through Qt's tool-tip window. The owner relays its mouse messages (RelayEvent); resting on a
// tool for the initial delay shows the tool's text below the cursor, a button press or leaving the tool hides it.
// While deactivated nothing shows. With a maximum width the text is wrapped at spaces to fit it.
class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl();
    ~CToolTipCtrl() override;

    // A hidden pop-up owned by the parent's window; the tip itself is Qt's.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    void Activate(BOOL bActivate);
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    int GetToolCount() const;
    void RelayEvent(LPMSG lpMsg);
    int SetMaxTipWidth(int iWidth);
    int GetMaxTipWidth() const { return m_maxTipWidth; }
    void SetDelayTime(DWORD dwDuration, int iTime);
    void Pop();

    // The text as the tip shows it (wrapped to the maximum width), and whether it shows now.
    CString GetShownText() const { return m_shownText; }
    BOOL IsTipShown() const;

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;

private:
    struct Tool {
        UINT uFlags;
        HWND hwnd;
        UINT_PTR uId;
        RECT rect;
        CString text;
    };

    Tool* FindTool(HWND hwnd, UINT_PTR uId);
    const Tool* FindTool(HWND hwnd, UINT_PTR uId) const;
    int ToolAt(HWND hwnd, POINT client) const;
    bool CursorOnTool(int index) const;
    void OnRelayedMouse(const MSG& msg);
    void Show();
    void Hide();

    std::vector<Tool> m_tools;
    bool m_active = true;
    int m_maxTipWidth = -1;
    int m_initial = 500;
    int m_autoPop = 5000;
    int m_reshow = 100;
    int m_current = -1;     // the tool under the cursor, -1 when none
    bool m_pressed = false; // a button went down on the current tool: no tip until the cursor leaves it
    CString m_shownText;
    std::unique_ptr<QTimer> m_showTimer;
    std::unique_ptr<QTimer> m_watchTimer;
};
