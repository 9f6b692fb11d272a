#include "core/Notify.h"

#include <gtest/gtest.h>

namespace {

// A subscriber that writes what it saw into a shared log.
class Listener {
public:
    Listener(std::string tag, std::vector<std::string>& log) : m_tag(std::move(tag)), m_log(log) {}
    void OnEvent(NotifyEvent* e) { m_log.push_back(m_tag + ":" + e->GetName()); }
    int OnEventWithResult(NotifyEvent* e) {
        m_log.push_back(m_tag + "!" + e->GetName());
        return 7;
    }

private:
    std::string m_tag;
    std::vector<std::string>& m_log;
};

} // namespace

TEST(Notify, SubscribersAreCalledInTheOrderTheySubscribed) {
    CNotify hub;
    std::vector<std::string> log;
    Listener grid("grid", log), scenes("scenes", log);
    EXPECT_EQ(hub.Register("MatrixSet", &grid, &Listener::OnEvent), 0);
    EXPECT_EQ(hub.Register("MatrixSet", &scenes, &Listener::OnEvent), 0);
    std::vector<NotifyEvent*> seen;
    int observer = 0;
    hub.Register("MatrixSet", &observer, [&](NotifyEvent* e) { seen.push_back(e); });
    MatrixSetEvent e("MatrixSet");
    EXPECT_EQ(hub.Notify(&e), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"grid:MatrixSet", "scenes:MatrixSet"}));
    EXPECT_EQ(seen, (std::vector<NotifyEvent*>{&e}));
}

TEST(Notify, AnObjectSubscribesOnceUnderANameWhateverTheHandler) {
    CNotify hub;
    std::vector<std::string> log;
    Listener a("a", log);
    EXPECT_EQ(hub.Register("VGA", &a, &Listener::OnEvent), 0);
    EXPECT_EQ(hub.Register("VGA", &a, &Listener::OnEventWithResult), -1);
    NotifyEvent e("VGA");
    hub.Notify(&e);
    EXPECT_EQ(log, (std::vector<std::string>{"a:VGA"}));
}

TEST(Notify, OneObjectMayServeSeveralNamesWithOneHandler) {
    CNotify hub;
    std::vector<std::string> log;
    Listener grid("grid", log);
    for (const char* source : {"DP", "HDMI2", "VGA", "HDMI", "DVI", "YPBPR", "UNITSHOW"})
        EXPECT_EQ(hub.Register(source, &grid, &Listener::OnEvent), 0);
    NotifyEvent hdmi("HDMI"), dp("DP");
    hub.Notify(&hdmi);
    hub.Notify(&dp);
    EXPECT_EQ(log, (std::vector<std::string>{"grid:HDMI", "grid:DP"}));
}

TEST(Notify, ANameNobodySubscribedReturnsMinusOne) {
    CNotify hub;
    std::vector<std::string> log;
    Listener a("a", log);
    hub.Register("ROWCOL-CHANGE", &a, &Listener::OnEvent);
    NotifyEvent other("WALLMAP-CHANGE");
    EXPECT_EQ(hub.Notify(&other), -1);
    EXPECT_EQ(hub.Notify(&other), -1); // the failed lookup leaves nothing behind that answers
    EXPECT_TRUE(log.empty());
}

TEST(Notify, ASubscriberThatLeavesIsNotCalledAndTheOthersKeepTheirOrder) {
    CNotify hub;
    std::vector<std::string> log;
    Listener page("page", log), dialog("dialog", log), last("last", log);
    hub.Register("MATRIX-CHANGE", &page, &Listener::OnEvent);
    hub.Register("MATRIX-CHANGE", &dialog, &Listener::OnEvent);
    hub.Register("MATRIX-CHANGE", &last, &Listener::OnEvent);
    EXPECT_EQ(hub.Unregister("MATRIX-CHANGE", &dialog), 0);
    EXPECT_EQ(hub.Unregister("MATRIX-CHANGE", &dialog), -1);
    MatrixChangeEvent e("MATRIX-CHANGE");
    hub.Notify(&e);
    EXPECT_EQ(log, (std::vector<std::string>{"page:MATRIX-CHANGE", "last:MATRIX-CHANGE"}));

    // A dialog built again subscribes again, at the end.
    EXPECT_EQ(hub.Register("MATRIX-CHANGE", &dialog, &Listener::OnEvent), 0);
    log.clear();
    hub.Notify(&e);
    EXPECT_EQ(log, (std::vector<std::string>{"page:MATRIX-CHANGE", "last:MATRIX-CHANGE", "dialog:MATRIX-CHANGE"}));
}

TEST(Notify, LeavingEveryNameAtOnce) {
    CNotify hub;
    std::vector<std::string> log;
    Listener a("a", log), b("b", log);
    hub.Register("X", &a, &Listener::OnEvent);
    hub.Register("Y", &a, &Listener::OnEvent);
    hub.Register("Y", &b, &Listener::OnEvent);
    hub.UnregisterAll(&a);
    NotifyEvent x("X"), y("Y");
    EXPECT_EQ(hub.Notify(&x), -1);
    EXPECT_EQ(hub.Notify(&y), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"b:Y"}));
}

TEST(Notify, ASubscriberDestroyedDuringAnEventIsNotCalledAfterwards) {
    CNotify hub;
    std::vector<std::string> log;
    auto doomed = std::make_unique<Listener>("doomed", log);
    Listener* doomedPtr = doomed.get();
    // The first subscriber closes a dialog whose subscription comes later in the list.
    hub.Register("MATRIX-CHANGE", &log, [&](NotifyEvent*) {
        log.push_back("closer");
        hub.Unregister("MATRIX-CHANGE", doomedPtr);
        doomed.reset();
    });
    hub.Register("MATRIX-CHANGE", doomedPtr, &Listener::OnEvent);
    NotifyEvent e("MATRIX-CHANGE");
    EXPECT_EQ(hub.Notify(&e), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"closer"}));
}

TEST(Notify, AnEventRaisedInsideAHandlerRunsToCompletionFirst) {
    CNotify hub;
    std::vector<std::string> log;
    Listener inner("inner", log), after("after", log);
    int outerTag = 0;
    hub.Register("OUTER", &outerTag, [&](NotifyEvent* e) {
        log.push_back("outer:" + e->GetName());
        NotifyEvent nested("INNER");
        hub.Notify(&nested);
    });
    hub.Register("OUTER", &after, &Listener::OnEvent);
    hub.Register("INNER", &inner, &Listener::OnEvent);
    NotifyEvent e("OUTER");
    hub.Notify(&e);
    EXPECT_EQ(log, (std::vector<std::string>{"outer:OUTER", "inner:INNER", "after:OUTER"}));
}

TEST(NotifyEvents, RecordsCarryTheirFields) {
    MatrixSetEvent set("MatrixSet");
    std::string matrix = "x", message = "x", port = "x";
    int in = -1, out = -1;
    set.GetFields(matrix, message, in, out, port);
    EXPECT_EQ(matrix + message + port, "");
    EXPECT_EQ(in, 0);
    set.Set("\xBE\xD8\xD5\xF3", "SWITCH", 3, 4, "COM2");
    set.GetFields(matrix, message, in, out, port);
    EXPECT_EQ(matrix, "\xBE\xD8\xD5\xF3");
    EXPECT_EQ(message, "SWITCH");
    EXPECT_EQ(in, 3);
    EXPECT_EQ(out, 4);
    EXPECT_EQ(port, "COM2");
    EXPECT_EQ(set.GetName(), "MatrixSet");

    SceneNameChangeEvent rename("SceneNameChange");
    EXPECT_EQ(rename.m_oldName + rename.m_newName, "");
    rename.SetNames("old", "new");
    EXPECT_EQ(rename.m_oldName, "old");
    EXPECT_EQ(rename.m_newName, "new");

    MatrixChangeEvent change("MATRIX-CHANGE");
    EXPECT_EQ(change.m_matrix, nullptr);
    EXPECT_EQ(change.m_oldName, "");
}
