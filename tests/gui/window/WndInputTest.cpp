#include "platform/gui/window/Cursor.h"
#include "platform/gui/window/Wnd.h"
#include "tests/support/PointerMove.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct MouseCall {
    std::string what;
    UINT flags;
    CPoint point;
};

// A top-level window drawn by the program that records what its handlers receive.
class InputWnd : public CWnd {
public:
    std::vector<MouseCall> mouse;
    std::vector<std::pair<std::string, UINT>> keys;
    std::vector<UINT> keysWithCtrl;
    std::vector<UINT_PTR> timers;
    std::vector<short> wheel;
    std::vector<std::string> focus;
    std::vector<CWnd*> captureLost;
    HCURSOR cursorToSet = nullptr;
    UINT dlgCode = 0;
    bool shiftSeenDown = false;
    bool ctrlSeenDown = false;

    void OnLButtonDown(UINT f, CPoint p) override { mouse.push_back({"ldown", f, p}); }
    void OnLButtonUp(UINT f, CPoint p) override { mouse.push_back({"lup", f, p}); }
    void OnLButtonDblClk(UINT f, CPoint p) override { mouse.push_back({"ldbl", f, p}); }
    void OnRButtonDown(UINT f, CPoint p) override { mouse.push_back({"rdown", f, p}); }
    void OnMouseMove(UINT f, CPoint p) override { mouse.push_back({"move", f, p}); }
    BOOL OnMouseWheel(UINT, short delta, CPoint) override {
        wheel.push_back(delta);
        return TRUE;
    }
    BOOL OnSetCursor(CWnd* pWnd, UINT hit, UINT message) override {
        if (cursorToSet && hit == HTCLIENT) {
            ::SetCursor(cursorToSet);
            return TRUE;
        }
        return CWnd::OnSetCursor(pWnd, hit, message);
    }
    void OnCaptureChanged(CWnd* pWnd) override { captureLost.push_back(pWnd); }
    void OnKeyDown(UINT c, UINT, UINT) override {
        keys.emplace_back("down", c);
        shiftSeenDown = GetKeyState(VK_SHIFT) < 0;
        ctrlSeenDown = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
        if (ctrlSeenDown)
            keysWithCtrl.push_back(c);
    }
    void OnKeyUp(UINT c, UINT, UINT) override { keys.emplace_back("up", c); }
    void OnChar(UINT c, UINT, UINT) override { keys.emplace_back("char", c); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_IME_CHAR) {
            keys.emplace_back("ime", static_cast<UINT>(wParam));
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    UINT OnGetDlgCode() override { return dlgCode; }
    void OnTimer(UINT_PTR id) override { timers.push_back(id); }
    void OnSetFocus(CWnd*) override { focus.emplace_back("set"); }
    void OnKillFocus(CWnd*) override { focus.emplace_back("kill"); }
};

// A shown top-level window, exposed so that synthesised pointer moves reach it.
BOOL CreateTop(CWnd& wnd, const RECT& rect, DWORD exStyle = 0) {
    if (!wnd.CreateEx(exStyle, nullptr, "input", WS_POPUP | WS_VISIBLE, rect, nullptr, 0))
        return FALSE;
    return QTest::qWaitForWindowExposed(wnd.GetHostWidget()) ? TRUE : FALSE;
}

// Qt's test double click sends the double-click event alone; a real one comes after a press and a release.
void DoubleClick(QWidget* w, QPoint p) {
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, p);
}

// Text that QTest cannot type, as a key press carrying it.
void TypeText(QWidget* w, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

std::vector<std::string> Kinds(const std::vector<MouseCall>& calls) {
    std::vector<std::string> out;
    for (const MouseCall& c : calls)
        if (c.what != "move")
            out.push_back(c.what);
    return out;
}

} // namespace

TEST(MouseInput, ButtonsReachHandlersWithClientPointsAndKeyFlags) {
    InputWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(100, 100, 300, 200), WS_EX_CLIENTEDGE));
    QWidget* w = wnd.GetHostWidget();

    // The client edge takes 2 pixels: widget point (12, 7) is client point (10, 5).
    QTest::mousePress(w, Qt::LeftButton, Qt::ShiftModifier, QPoint(12, 7));
    QTest::mouseRelease(w, Qt::LeftButton, Qt::ControlModifier, QPoint(12, 7));
    QTest::mousePress(w, Qt::RightButton, Qt::NoModifier, QPoint(30, 40));
    ASSERT_EQ(Kinds(wnd.mouse), (std::vector<std::string>{"ldown", "lup", "rdown"}));
    std::vector<MouseCall> buttons;
    for (const MouseCall& c : wnd.mouse)
        if (c.what != "move")
            buttons.push_back(c);
    EXPECT_EQ(buttons[0].point, CPoint(10, 5));
    EXPECT_EQ(buttons[0].flags, MK_LBUTTON | MK_SHIFT);
    EXPECT_EQ(buttons[1].flags, MK_CONTROL); // the button is up by then
    EXPECT_EQ(buttons[2].point, CPoint(28, 38));
    EXPECT_EQ(buttons[2].flags, MK_RBUTTON);
    QTest::mouseRelease(w, Qt::RightButton, Qt::NoModifier, QPoint(30, 40));
}

TEST(MouseInput, DoubleClickFollowsTheClassStyle) {
    InputWnd plain;
    ASSERT_TRUE(CreateTop(plain, CRect(0, 0, 100, 100)));
    DoubleClick(plain.GetHostWidget(), QPoint(5, 5));
    EXPECT_EQ(Kinds(plain.mouse), (std::vector<std::string>{"ldown", "lup", "ldbl", "lup"}));

    WNDCLASS wc{0, nullptr, 0, 0, nullptr, nullptr, LoadCursor(nullptr, IDC_ARROW), nullptr, nullptr, "NoDoubleClicks"};
    ASSERT_TRUE(AfxRegisterClass(&wc));
    InputWnd single;
    ASSERT_TRUE(single.CreateEx(0, "NoDoubleClicks", "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 50, 50), nullptr, 0));
    DoubleClick(single.GetHostWidget(), QPoint(5, 5));
    EXPECT_EQ(Kinds(single.mouse), (std::vector<std::string>{"ldown", "lup", "ldown", "lup"}));
}

TEST(MouseInput, CaptureKeepsTheMouseAndLosingItIsReported) {
    InputWnd a, b;
    ASSERT_TRUE(CreateTop(a, CRect(0, 0, 100, 100)));
    ASSERT_TRUE(CreateTop(b, CRect(200, 0, 300, 100)));
    EXPECT_EQ(a.SetCapture(), nullptr);
    EXPECT_EQ(CWnd::GetCapture(), &a);

    // A move over b goes to a, in a's client coordinates.
    ASSERT_TRUE(MovePointer(b.GetHostWidget(), QPoint(10, 20)));
    ASSERT_FALSE(a.mouse.empty());
    EXPECT_EQ(a.mouse.back().point, CPoint(210, 20));
    EXPECT_TRUE(b.mouse.empty());

    // b taking the capture tells a who took it; releasing tells b that nobody did.
    EXPECT_EQ(b.SetCapture(), &a);
    ASSERT_EQ(a.captureLost.size(), 1u);
    EXPECT_EQ(a.captureLost[0], &b);
    ReleaseCapture();
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    ASSERT_EQ(b.captureLost.size(), 1u);
    EXPECT_EQ(b.captureLost[0], nullptr);

    // A destroyed capture window frees the mouse.
    a.SetCapture();
    a.DestroyWindow();
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST(MouseInput, CursorSetInOnSetCursorIsTheWidgets) {
    InputWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 100, 100)));
    wnd.cursorToSet = LoadCursor(nullptr, IDC_SIZEWE);
    ASSERT_TRUE(MovePointer(wnd.GetHostWidget(), QPoint(12, 13)));
    EXPECT_EQ(wnd.GetHostWidget()->cursor().shape(), Qt::SizeHorCursor);
    EXPECT_EQ(GetCursor(), wnd.cursorToSet);

    // Without a cursor of its own the window shows its class cursor, the arrow.
    wnd.cursorToSet = nullptr;
    ASSERT_TRUE(MovePointer(wnd.GetHostWidget(), QPoint(14, 13)));
    EXPECT_EQ(wnd.GetHostWidget()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(1)), nullptr);
}

TEST(MouseInput, ClippedCursorClampsIncomingPoints) {
    InputWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 200, 100)));
    wnd.SetCapture();
    CRect clip(50, 0, 80, 100);
    ClipCursor(&clip);
    ASSERT_TRUE(MovePointer(wnd.GetHostWidget(), QPoint(12, 13)));
    ASSERT_TRUE(MovePointer(wnd.GetHostWidget(), QPoint(150, 10)));
    ClipCursor(nullptr);
    ASSERT_TRUE(MovePointer(wnd.GetHostWidget(), QPoint(150, 11)));
    ReleaseCapture();
    ASSERT_GE(wnd.mouse.size(), 3u);
    const size_t n = wnd.mouse.size();
    EXPECT_EQ(wnd.mouse[n - 3].point.x, 50);
    EXPECT_EQ(wnd.mouse[n - 2].point.x, 79); // the clip's right edge is outside it
    EXPECT_EQ(wnd.mouse[n - 1].point.x, 150);
}

TEST(MouseInput, WheelGivesNotchesOf120) {
    InputWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 100, 100)));
    QWidget* w = wnd.GetHostWidget();
    const QPoint pos(10, 10);
    QWheelEvent down(pos, w->mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &down);
    QWheelEvent half(pos, w->mapToGlobal(pos), QPoint(), QPoint(0, 60), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                     false);
    QApplication::sendEvent(w, &half);
    QWheelEvent sideways(pos, w->mapToGlobal(pos), QPoint(), QPoint(120, 0), Qt::NoButton, Qt::NoModifier,
                         Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &sideways);
    EXPECT_EQ(wnd.wheel, (std::vector<short>{-120, 60}));
}

TEST(KeyInput, KeysArriveAsVirtualKeysWithModifierState) {
    InputWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 100, 100)));
    QWidget* w = wnd.GetHostWidget();
    QTest::keyPress(w, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_TRUE(wnd.shiftSeenDown);
    EXPECT_FALSE(wnd.ctrlSeenDown);
    QTest::keyRelease(w, Qt::Key_Down, Qt::NoModifier);
    QTest::keyClick(w, Qt::Key_PageDown, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_F2);
    QTest::keyClick(w, Qt::Key_Delete);
    std::vector<std::pair<std::string, UINT>> downs;
    for (const auto& k : wnd.keys)
        if (k.first == "down")
            downs.push_back(k);
    const std::vector<std::pair<std::string, UINT>> expected{{"down", VK_SHIFT},   {"down", VK_DOWN},
                                                             {"down", VK_CONTROL}, {"down", VK_NEXT},
                                                             {"down", VK_F2},      {"down", VK_DELETE}};
    EXPECT_EQ(downs, expected);
    EXPECT_EQ(wnd.keysWithCtrl, (std::vector<UINT>{VK_CONTROL, VK_NEXT}));
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);
    // Delete types no character.
    for (const auto& k : wnd.keys)
        EXPECT_NE(k, (std::pair<std::string, UINT>{"char", 0x7F}));
}

TEST(KeyInput, CharactersFollowTheirKeyAndChineseComesAsDoubleByteCharacters) {
    InputWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 100, 100)));
    QWidget* w = wnd.GetHostWidget();
    QTest::keyClick(w, Qt::Key_A);
    QTest::keyClick(w, Qt::Key_Return);
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    wnd.keys.clear();
    TypeText(w, QString::fromUtf8("\xE4\xB8\xAD")); // "中", GBK D6 D0
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("\xE6\x96\x87x")); // "文" (CE C4) and x
    QApplication::sendEvent(w, &commit);
    const std::vector<std::pair<std::string, UINT>> expected{{"ime", 0xD6D0}, {"ime", 0xCEC4}, {"char", 'x'}};
    EXPECT_EQ(wnd.keys, expected);
}

TEST(KeyInput, LettersTypeAndControlLettersGiveControlCodes) {
    InputWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 100, 100)));
    QWidget* w = wnd.GetHostWidget();
    QTest::keyClick(w, Qt::Key_A);
    QTest::keyClick(w, Qt::Key_Return);
    QTest::keyClick(w, Qt::Key_C, Qt::ControlModifier);
    std::vector<UINT> chars;
    for (const auto& k : wnd.keys)
        if (k.first == "char")
            chars.push_back(k.second);
    EXPECT_EQ(chars, (std::vector<UINT>{'a', 13, 3}));
}

TEST(KeyInput, ImeCharacterDefaultTypesBothBytesIntoAnEdit) {
    QWidget parent;
    auto* edit = new QLineEdit(&parent);
    CWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(edit));
    // Posted as the grid's editor gets its first character: the lead and trail byte through WM_CHAR.
    wnd.PostMessage(WM_IME_CHAR, 0xD6D0, 0);
    wnd.PostMessage(WM_CHAR, 'a', 0);
    QCoreApplication::processEvents();
    CString text;
    wnd.GetWindowText(text);
    EXPECT_EQ(text, CString("\xD6\xD0"
                            "a"));
    wnd.PostMessage(WM_CHAR, VK_BACK, 0);
    QCoreApplication::processEvents();
    wnd.GetWindowText(text);
    EXPECT_EQ(text, CString("\xD6\xD0"));
}

TEST(KeyInput, SubclassedEditStillTypesWhatItDoesNotHandle) {
    struct Swallowing : CWnd {
        std::vector<UINT> seen;
        void OnChar(UINT c, UINT n, UINT f) override {
            seen.push_back(c);
            if (c != 'x')
                CWnd::OnChar(c, n, f);
        }
    };
    QWidget parent;
    auto* edit = new QLineEdit(&parent);
    Swallowing wnd;
    ASSERT_TRUE(wnd.SubclassWindow(edit));
    QTest::keyClicks(edit, "axb");
    QTest::keyClick(edit, Qt::Key_Left);
    TypeText(edit, QString::fromUtf8("\xE4\xB8\xAD"));
    EXPECT_EQ(edit->text(), QString::fromUtf8("a\xE4\xB8\xAD"
                                              "b"));
    EXPECT_EQ(wnd.seen, (std::vector<UINT>{'a', 'x', 'b', 0xD6, 0xD0}));
}

TEST(KeyInput, DialogCodeDecidesWhoGetsTabAndEnterInADialog) {
    QDialog dialog;
    CWnd dlg;
    ASSERT_TRUE(dlg.Attach(&dialog));
    InputWnd child;
    ASSERT_TRUE(child.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(0, 0, 50, 20), &dlg, 5));
    auto* other = new QPushButton("ok", &dialog);
    other->setGeometry(0, 30, 50, 20);
    other->setDefault(true);
    int accepted = 0, rejected = 0;
    QObject::connect(other, &QPushButton::clicked, [&accepted] { ++accepted; });
    QObject::connect(&dialog, &QDialog::rejected, [&rejected] { ++rejected; });
    dialog.show();
    QWidget* w = child.GetHostWidget();

    child.dlgCode = 0;
    QTest::keyClick(w, Qt::Key_Tab);
    QTest::keyClick(w, Qt::Key_Return);
    EXPECT_TRUE(child.keys.empty());
    EXPECT_EQ(accepted, 1);
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_EQ(rejected, 1);
    dialog.show();

    child.dlgCode = DLGC_WANTTAB;
    QTest::keyClick(w, Qt::Key_Tab);
    ASSERT_FALSE(child.keys.empty());
    EXPECT_EQ(child.keys.front(), (std::pair<std::string, UINT>{"down", VK_TAB}));

    child.keys.clear();
    child.dlgCode = DLGC_WANTALLKEYS;
    QTest::keyClick(w, Qt::Key_Return);
    EXPECT_EQ(child.keys.front(), (std::pair<std::string, UINT>{"down", VK_RETURN}));
    EXPECT_EQ(accepted, 1);
}

TEST(Timers, TimerReachesOnTimerWithItsIdUntilKilled) {
    InputWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 10, 10)));
    EXPECT_EQ(wnd.SetTimer(513, 25), 513u);
    EXPECT_TRUE(QTest::qWaitFor([&wnd] { return wnd.timers.size() >= 2; }, 2000));
    EXPECT_EQ(wnd.timers.front(), 513u);
    EXPECT_TRUE(wnd.KillTimer(513));
    EXPECT_FALSE(wnd.KillTimer(513));
    QTest::qWait(60);
    const size_t count = wnd.timers.size();
    QTest::qWait(60);
    EXPECT_EQ(wnd.timers.size(), count);

    // Id 0 is a window's timer like any other; success still answers nonzero.
    wnd.timers.clear();
    EXPECT_NE(wnd.SetTimer(0, 10), 0u);
    EXPECT_TRUE(QTest::qWaitFor([&wnd] { return !wnd.timers.empty(); }, 2000));
    EXPECT_EQ(wnd.timers.front(), 0u);
    EXPECT_TRUE(wnd.KillTimer(0));

    CWnd none;
    EXPECT_EQ(none.SetTimer(1, 10), 0u);
}

TEST(Focus, FocusChangesReachSetAndKillFocus) {
    InputWnd a;
    ASSERT_TRUE(CreateTop(a, CRect(0, 0, 200, 100)));
    InputWnd b, c;
    ASSERT_TRUE(b.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &a, 1));
    ASSERT_TRUE(c.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(60, 0, 110, 20), &a, 2));
    a.GetHostWidget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(a.GetHostWidget()));
    b.SetFocus();
    EXPECT_TRUE(QTest::qWaitFor([&b] { return CWnd::GetFocus() == &b; }, 2000));
    EXPECT_EQ(c.SetFocus(), &b);
    EXPECT_TRUE(QTest::qWaitFor([&c] { return CWnd::GetFocus() == &c; }, 2000));
    EXPECT_EQ(b.focus, (std::vector<std::string>{"set", "kill"}));
    EXPECT_EQ(c.focus, (std::vector<std::string>{"set"}));
}

TEST(MouseInput, DisabledWindowTakesNoClicks) {
    InputWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 100, 100)));
    wnd.EnableWindow(FALSE);
    QTest::mouseClick(wnd.GetHostWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_TRUE(Kinds(wnd.mouse).empty());
    wnd.EnableWindow(TRUE);
    QTest::mouseClick(wnd.GetHostWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(Kinds(wnd.mouse), (std::vector<std::string>{"ldown", "lup"}));
}
