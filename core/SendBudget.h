#pragma once

#include "platform/os/Types.h"

#include <chrono>

// The longest one operator action (a channel click, a scene load) may keep the interface waiting, in all.
constexpr DWORD kLongestActionMs = 30000;
// What an action must keep back from that for the end of its sending: a write under way when the budget runs
// out takes at most its timeout (100 ms and 1 ms a byte of a 128-byte message), and a wall frame after it less.
constexpr DWORD kSendReserveMs = 500;

// The time one operator action may spend on matrix messages, which the user-interface thread waits for: their
// writes and their follow-up pauses. A pause counts as long as it was asked to last, whoever carries it out;
// everything else as long as it took. Once it is spent nothing more is sent, and what the action had to leave
// out is counted, so that the operator is told once.
class CSendBudget {
public:
    explicit CSendBudget(DWORD milliseconds);

    // Pauses when the pause fits in what is left; false, without pausing, when it does not.
    bool Pause(DWORD milliseconds);
    // True once nothing more may be sent.
    bool Spent() const;
    // Switches that were not sent in full: their follow-ups, or the whole switch, left out.
    void CutShort(int switches = 1) { m_cutShort += switches; }
    int GetCutShort() const { return m_cutShort; }
    // Tells the operator, in a warning box and on standard error, how many switches were cut short; nothing when
    // none was.
    void ReportCutShort() const;

private:
    long long ElapsedMs() const;

    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::duration m_paused{}; // the real time the pauses took
    long long m_askedMs = 0;                        // the time they were asked to take
    DWORD m_budgetMs;
    int m_cutShort = 0;
};
