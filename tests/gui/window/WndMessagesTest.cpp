#include "platform/gui/window/Wnd.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A window that records the messages its WindowProc sees, in order.
class RecordingWnd : public CWnd {
public:
    struct Seen {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Seen> seen;
    std::vector<UINT> notifyCodes;
    std::vector<std::pair<UINT, UINT>> commands; // id, code

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back({message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        notifyCodes.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
        *pResult = static_cast<LRESULT>(wParam) + 1000;
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        commands.emplace_back(LOWORD(static_cast<uint32_t>(wParam)), HIWORD(static_cast<uint32_t>(wParam)));
        return CWnd::OnCommand(wParam, lParam);
    }
    std::vector<UINT> Messages(UINT from, UINT to) const {
        std::vector<UINT> out;
        for (const Seen& s : seen)
            if (s.message >= from && s.message <= to)
                out.push_back(s.message);
        return out;
    }
};

constexpr UINT kPrivate = WM_USER + 7;

BOOL CreateChild(CWnd& wnd, CWnd& parent, UINT id, const RECT& rect, DWORD exStyle = 0) {
    return wnd.CreateEx(exStyle, nullptr, "", WS_CHILD | WS_VISIBLE, rect, &parent, id);
}

BOOL CreateTop(CWnd& wnd, const RECT& rect) {
    return wnd.CreateEx(0, nullptr, "top", WS_POPUP | WS_VISIBLE, rect, nullptr, 0);
}

} // namespace

TEST(WindowMessages, SentMessagesRunAtOncePostedOnesLaterInOrder) {
    RecordingWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(10, 10, 110, 60)));
    wnd.seen.clear();

    wnd.PostMessage(kPrivate, 1, 0);
    wnd.PostMessage(kPrivate, 2, 0);
    EXPECT_EQ(wnd.SendMessage(kPrivate, 3, 0), 0);
    ASSERT_EQ(wnd.seen.size(), 1u);
    EXPECT_EQ(wnd.seen[0].wParam, 3u);

    QCoreApplication::processEvents();
    std::vector<WPARAM> order;
    for (const auto& s : wnd.seen)
        if (s.message == kPrivate)
            order.push_back(s.wParam);
    EXPECT_EQ(order, (std::vector<WPARAM>{3, 1, 2}));
}

TEST(WindowMessages, PostedMessagesToADestroyedWindowAreDropped) {
    RecordingWnd wnd;
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 50, 50)));
    wnd.PostMessage(kPrivate, 1, 0);
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_FALSE(IsWindow(&wnd));
    EXPECT_FALSE(wnd.PostMessage(kPrivate, 2, 0));
    ASSERT_TRUE(CreateTop(wnd, CRect(0, 0, 50, 50)));
    wnd.seen.clear();
    QCoreApplication::processEvents();
    EXPECT_TRUE(wnd.Messages(kPrivate, kPrivate).empty());
}

TEST(WindowMessages, NotificationGoesToTheOwnerWhenOneIsSetElseToTheParent) {
    RecordingWnd parent, owner;
    CWnd child;
    ASSERT_TRUE(CreateTop(parent, CRect(0, 0, 200, 200)));
    ASSERT_TRUE(CreateTop(owner, CRect(300, 0, 400, 100)));
    ASSERT_TRUE(CreateChild(child, parent, 42, CRect(5, 5, 50, 50)));

    EXPECT_EQ(child.GetParent(), &parent);
    EXPECT_EQ(child.GetOwner(), &parent);
    child.SetOwner(&owner);
    EXPECT_EQ(child.GetOwner(), &owner);
    EXPECT_EQ(child.GetParent(), &parent);

    NMHDR header{child.GetSafeHwnd(), static_cast<UINT_PTR>(child.GetDlgCtrlID()), NM_CLICK};
    const LRESULT reply = child.GetOwner()->SendMessage(WM_NOTIFY, 42, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(reply, 1042);
    EXPECT_EQ(owner.notifyCodes, std::vector<UINT>{NM_CLICK});
    EXPECT_TRUE(parent.notifyCodes.empty());

    // A destroyed owner no longer counts.
    owner.DestroyWindow();
    EXPECT_EQ(child.GetOwner(), &parent);
}

TEST(WindowMessages, CommandFromAControlIsReflectedToItFirst) {
    struct Reflecting : CWnd {
        int reflected = 0;
        BOOL handle = TRUE;
        BOOL OnChildNotify(UINT message, WPARAM, LPARAM, LRESULT*) override {
            if (message == WM_COMMAND)
                ++reflected;
            return handle;
        }
    };
    RecordingWnd parent;
    Reflecting control;
    ASSERT_TRUE(CreateTop(parent, CRect(0, 0, 100, 100)));
    ASSERT_TRUE(CreateChild(control, parent, 7, CRect(0, 0, 10, 10)));
    const WPARAM w = MAKEWPARAM(7, 0);
    EXPECT_EQ(parent.SendMessage(WM_COMMAND, w, reinterpret_cast<LPARAM>(control.GetSafeHwnd())), 1);
    EXPECT_EQ(control.reflected, 1);
    control.handle = FALSE;
    EXPECT_EQ(parent.SendMessage(WM_COMMAND, w, reinterpret_cast<LPARAM>(control.GetSafeHwnd())), 0);
    EXPECT_EQ(control.reflected, 2);
    EXPECT_EQ(parent.commands.size(), 2u);
}

TEST(WindowMessages, AnyWindowAnswersCommandsAndNotificationsItMapsAfterReflection) {
    struct Mapping : CWnd {
        std::vector<std::string> seen;
        Mapping() {
            OnCommandId(40, [this] { seen.push_back("menu 40"); });
            OnControl(7, 0x300, [this] { seen.push_back("control 7"); });
            OnNotifyCode(7, static_cast<UINT>(-2), [this](NMHDR*, LRESULT* result) {
                seen.push_back("click 7");
                *result = 5;
            });
        }
    };
    Mapping parent;
    CWnd control;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    ASSERT_TRUE(control.CreateEx(0, nullptr, "", WS_CHILD, CRect(0, 0, 5, 5), &parent, 7));
    EXPECT_EQ(parent.SendMessage(WM_COMMAND, MAKEWPARAM(40, 0), 0), 1);
    EXPECT_EQ(parent.SendMessage(WM_COMMAND, MAKEWPARAM(7, 0x300), reinterpret_cast<LPARAM>(&control)), 1);
    EXPECT_EQ(parent.SendMessage(WM_COMMAND, MAKEWPARAM(41, 0), 0), 0);
    NMHDR header{&control, 7, static_cast<UINT>(-2)};
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header)), 5);
    EXPECT_EQ(parent.seen, std::vector<std::string>({"menu 40", "control 7", "click 7"}));
}

TEST(WindowMessages, CreationSendsCreateSizeAndMoveAndTheRectangleIsTheClientArea) {
    RecordingWnd parent, child;
    ASSERT_TRUE(CreateTop(parent, CRect(0, 0, 300, 200)));
    ASSERT_TRUE(CreateChild(child, parent, 3, CRect(10, 20, 110, 70)));
    const std::vector<UINT> expected{WM_CREATE, WM_SIZE, WM_MOVE};
    std::vector<UINT> got;
    for (const auto& s : child.seen)
        if (s.message == WM_CREATE || s.message == WM_SIZE || s.message == WM_MOVE)
            got.push_back(s.message);
    EXPECT_EQ(got, expected);
    CRect client;
    child.GetClientRect(&client);
    EXPECT_EQ(client, CRect(0, 0, 100, 50));
    EXPECT_EQ(child.GetDlgCtrlID(), 3);
    EXPECT_EQ(parent.GetDlgItem(3), &child);
    EXPECT_EQ(parent.GetDlgItem(4), nullptr);
}

TEST(WindowMessages, CreateFailsWhenOnCreateSaysSo) {
    struct Refusing : CWnd {
        int OnCreate(LPCREATESTRUCT) override { return -1; }
    };
    Refusing wnd;
    EXPECT_FALSE(CreateTop(wnd, CRect(0, 0, 10, 10)));
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
    // A child without a parent cannot exist.
    CWnd orphan;
    EXPECT_FALSE(orphan.CreateEx(0, nullptr, "", WS_CHILD, CRect(0, 0, 5, 5), nullptr, 1));
}

TEST(WindowLifetime, WindowThatDeletesItselfInPostNcDestroyIsGoneSafely) {
    static int deleted = 0;
    struct SelfDeleting : CWnd {
        ~SelfDeleting() override { ++deleted; }
        void PostNcDestroy() override { delete this; }
        void OnChar(UINT nChar, UINT, UINT) override {
            if (nChar == 27)
                DestroyWindow();
        }
    };
    CWnd parent;
    ASSERT_TRUE(CreateTop(parent, CRect(0, 0, 100, 100)));
    auto* editor = new SelfDeleting;
    ASSERT_TRUE(CreateChild(*editor, parent, 8, CRect(0, 0, 50, 20)));
    QWidget* widget = editor->GetHostWidget();
    // Escape arrives as a key the window handles by destroying itself inside its own handler.
    QTest::keyClick(widget, Qt::Key_Escape);
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(parent.GetDlgItem(8), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The grid's editor and title tip end themselves from their own mouse handlers; the event comes the way the
// window system delivers it, through the top-level window.
TEST(WindowLifetime, SelfDeletingWindowsEndFromTheirOwnClickWheelAndChildsClick) {
    struct SelfDeleting : CWnd {
        std::vector<std::string>* gone = nullptr;
        std::string name;
        bool parentOnClick = false;
        ~SelfDeleting() override { gone->push_back(name); }
        void PostNcDestroy() override { delete this; }
        void OnLButtonDown(UINT, CPoint) override {
            if (parentOnClick)
                GetParent()->DestroyWindow();
            else
                DestroyWindow();
        }
        BOOL OnMouseWheel(UINT, short, CPoint) override { return DestroyWindow(); }
    };
    std::vector<std::string> gone;
    auto make = [&gone](const char* name) {
        auto* wnd = new SelfDeleting;
        wnd->gone = &gone;
        wnd->name = name;
        return wnd;
    };
    auto topLevel = [](CWnd* wnd) {
        return wnd->CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, CRect(20, 20, 120, 120), nullptr, 0) &&
               QTest::qWaitForWindowExposed(wnd->GetHostWidget());
    };

    SelfDeleting* clicked = make("clicked");
    ASSERT_TRUE(topLevel(clicked));
    QTest::mouseClick(clicked->GetHostWidget()->windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    EXPECT_EQ(gone, std::vector<std::string>{"clicked"});

    SelfDeleting* wheeled = make("wheeled");
    ASSERT_TRUE(topLevel(wheeled));
    QWindow* window = wheeled->GetHostWidget()->windowHandle();
    QWheelEvent wheel(QPointF(30, 30), window->mapToGlobal(QPointF(30, 30)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window, &wheel);
    EXPECT_EQ(gone, (std::vector<std::string>{"clicked", "wheeled"}));

    // A child whose click destroys its parent goes with it, children first as the platform frees them.
    SelfDeleting* parent = make("parent");
    ASSERT_TRUE(topLevel(parent));
    SelfDeleting* child = make("child");
    child->parentOnClick = true;
    ASSERT_TRUE(CreateChild(*child, *parent, 5, CRect(10, 10, 60, 40)));
    QTest::mouseClick(parent->GetHostWidget()->windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(gone, (std::vector<std::string>{"clicked", "wheeled", "child", "parent"}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(WindowLifetime, ChildWindowsLearnOfTheirParentsDestruction) {
    struct Tracking : CWnd {
        std::vector<std::string>* log;
        std::string name;
        void OnDestroy() override { log->push_back(name + ":destroy"); }
        void OnNcDestroy() override {
            log->push_back(name + ":ncdestroy");
            CWnd::OnNcDestroy();
        }
    };
    std::vector<std::string> log;
    Tracking parent, child;
    parent.log = child.log = &log;
    parent.name = "parent";
    child.name = "child";
    ASSERT_TRUE(CreateTop(parent, CRect(0, 0, 100, 100)));
    ASSERT_TRUE(CreateChild(child, parent, 1, CRect(0, 0, 10, 10)));
    parent.DestroyWindow();
    EXPECT_EQ(log,
              (std::vector<std::string>{"parent:destroy", "child:destroy", "child:ncdestroy", "parent:ncdestroy"}));
    EXPECT_FALSE(IsWindow(&child));
    EXPECT_EQ(child.GetSafeHwnd(), nullptr);
}

TEST(WindowLifetime, WidgetDeletedByQtDetachesItsWindowObject) {
    auto widget = std::make_unique<QWidget>();
    auto* button = new QPushButton("x", widget.get());
    CWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(button));
    EXPECT_TRUE(IsWindow(&wnd));
    EXPECT_EQ(CWnd::FromWidgetPermanent(button), &wnd);
    widget.reset();
    EXPECT_FALSE(IsWindow(&wnd));
    EXPECT_EQ(wnd.GetHostWidget(), nullptr);
    // Calls on a window object without a window are harmless.
    CRect r;
    wnd.GetClientRect(&r);
    EXPECT_TRUE(r.IsRectNull());
    EXPECT_EQ(wnd.SendMessage(WM_USER, 0, 0), 0);
}

TEST(WindowLifetime, AWidgetTakesOnlyOneWindowObject) {
    QWidget parent;
    auto* button = new QPushButton("x", &parent);
    CWnd first, second;
    EXPECT_TRUE(first.SubclassWindow(button));
    EXPECT_FALSE(second.SubclassWindow(button));
    EXPECT_FALSE(first.SubclassWindow(new QPushButton("y", &parent)));
    // A plain object handed out for a widget steps aside for a real subclass.
    auto* other = new QPushButton("z", &parent);
    CWnd* temporary = CWnd::FromWidget(other);
    ASSERT_NE(temporary, nullptr);
    EXPECT_EQ(CWnd::FromWidgetPermanent(other), nullptr);
    EXPECT_TRUE(second.SubclassWindow(other));
    EXPECT_EQ(CWnd::FromWidget(other), &second);
}

TEST(PreTranslation, TipHoldingTheCaptureForwardsAClickToTheWindowBelow) {
    // The title tip's way: it holds the capture, and its PreTranslateMessage posts the click to the window below.
    struct Below : RecordingWnd {
        std::vector<CPoint> downs;
        void OnLButtonDown(UINT, CPoint p) override { downs.push_back(p); }
    };
    struct Tip : RecordingWnd {
        CWnd* below = nullptr;
        int ownDowns = 0;
        void OnLButtonDown(UINT, CPoint) override { ++ownDowns; }
        BOOL PreTranslateMessage(MSG* msg) override {
            if (msg->message != WM_LBUTTONDOWN)
                return CWnd::PreTranslateMessage(msg);
            CPoint p(GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam));
            ClientToScreen(&p);
            below->ScreenToClient(&p);
            ShowWindow(SW_HIDE);
            ReleaseCapture();
            below->PostMessage(WM_LBUTTONDOWN, msg->wParam, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
            return TRUE;
        }
    };
    Below grid;
    ASSERT_TRUE(CreateTop(grid, CRect(0, 0, 200, 100)));
    Tip tip;
    tip.below = &grid;
    ASSERT_TRUE(tip.CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, nullptr, nullptr, WS_POPUP | WS_VISIBLE,
                             CRect(20, 30, 120, 50), nullptr, 0));
    tip.SetCapture();
    // The click lands on the grid's widget, but the capture sends it through the tip first.
    QTest::mouseClick(grid.GetHostWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(25, 35));
    EXPECT_EQ(tip.ownDowns, 0);
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_TRUE(grid.downs.empty()); // posted, not yet delivered
    QCoreApplication::processEvents();
    ASSERT_EQ(grid.downs.size(), 1u);
    EXPECT_EQ(grid.downs[0], CPoint(25, 35));
}

TEST(PreTranslation, ParentsSeeTheirChildrensKeysFirstAndCanStopThem) {
    struct Parent : CWnd {
        std::vector<UINT> seen;
        BOOL stop = FALSE;
        BOOL PreTranslateMessage(MSG* msg) override {
            if (msg->message == WM_KEYDOWN)
                seen.push_back(static_cast<UINT>(msg->wParam));
            return stop;
        }
    };
    struct Child : CWnd {
        std::vector<UINT> keys;
        void OnKeyDown(UINT c, UINT, UINT) override { keys.push_back(c); }
    };
    Parent parent;
    ASSERT_TRUE(CreateTop(parent, CRect(0, 0, 100, 100)));
    Child child;
    ASSERT_TRUE(CreateChild(child, parent, 1, CRect(0, 0, 50, 50)));
    QTest::keyClick(child.GetHostWidget(), Qt::Key_Left);
    parent.stop = TRUE;
    QTest::keyClick(child.GetHostWidget(), Qt::Key_Right);
    EXPECT_EQ(parent.seen, (std::vector<UINT>{VK_LEFT, VK_RIGHT}));
    EXPECT_EQ(child.keys, std::vector<UINT>{VK_LEFT});
}
