#include "SendBudget.h"

#include "ErrorMessage.h"
#include "platform/os/MessageBox.h"
#include "platform/os/Pause.h"

#include <string>

namespace {

using Clock = std::chrono::steady_clock;

} // namespace

CSendBudget::CSendBudget(DWORD milliseconds) : m_start(Clock::now()), m_budgetMs(milliseconds) {}

long long CSendBudget::ElapsedMs() const {
    const Clock::duration working = Clock::now() - m_start - m_paused;
    return std::chrono::duration_cast<std::chrono::milliseconds>(working).count() + m_askedMs;
}

bool CSendBudget::Pause(DWORD milliseconds) {
    if (ElapsedMs() + milliseconds > m_budgetMs)
        return false;
    const Clock::time_point before = Clock::now();
    Sleep(milliseconds);
    m_paused += Clock::now() - before;
    m_askedMs += milliseconds;
    return true;
}

bool CSendBudget::Spent() const { return ElapsedMs() >= m_budgetMs; }

void CSendBudget::ReportCutShort() const {
    if (m_cutShort == 0)
        return;
    const std::string switches =
        m_cutShort == 1 ? "1 matrix switch was" : std::to_string(m_cutShort) + " matrix switches were";
    TellOperator("Matrix switching was cut short: one action may keep the program waiting for at most " +
                     std::to_string(kLongestActionMs / 1000) + " seconds. " + switches +
                     " not sent in full (follow-up messages, or the whole switch, were left out).",
                 MB_OK | MB_ICONWARNING);
}
