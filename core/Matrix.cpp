#include "Matrix.h"

#include "SendBudget.h"
#include "WallModel.h"
#include "platform/os/String.h"

#include <algorithm>

namespace {

// A chain of follow-ups that comes back to itself would never end; no real matrix needs this many.
constexpr int kMaxChainMessages = 32;
// The user-interface thread waits in these pauses: one pause is bounded, and so are all the pauses and writes of
// the action (CSendBudget), so that a wrong delay in the file cannot freeze the program.
constexpr DWORD kMaxFollowupPauseMs = 10000;

std::string Upper(const std::string& text) {
    CString s(text);
    s.MakeUpper();
    return s.Str();
}

} // namespace

CMatrix::CMatrix(const std::string& name, int signalType)
    : m_ownPort(FALSE), m_port(nullptr), m_name(name), m_signalType(signalType) {}

CMatrix::~CMatrix() {
    m_ownedPort.reset();
    m_messages.clear();
}

int CMatrix::ExecuteCommand(int lowIn, int highIn, const std::string& name, CSendBudget* budget) {
    CMessage* message = MessageAt(FindMessage(name));
    if (!message)
        return 0;
    // Alone, a switch is an action of its own.
    CSendBudget own(kLongestActionMs);
    CSendBudget& time = budget ? *budget : own;
    BYTE buffer[kMessageBufferSize] = {};
    for (int count = 1;; ++count) {
        int length = kMessageBufferSize;
        if (message->Build(lowIn, highIn, buffer, length) == 0) {
            CCommPortSetting* port = nullptr;
            if (m_ownPort) {
                port = m_port;
                if (!port || !port->IsOpen())
                    return -1;
            } else {
                port = CWallModel::GetInstance()->GetCommPort();
                m_port = port;
            }
            DWORD written = 0;
            if (!port || !port->Write(buffer, static_cast<DWORD>(length), &written) ||
                written != static_cast<DWORD>(length))
                return -1;
        } else {
            return -1; // a message that cannot be built fails as a write would: the matrix does not switch
        }
        const std::string& item = message->GetFollowupItem();
        if (item.empty() || count >= kMaxChainMessages)
            return 0;
        CMessage* next = MessageAt(FindMessage(item));
        const int delay = message->GetFollowupDelay();
        const DWORD pause = delay <= 0 ? 0 : std::min(static_cast<DWORD>(delay), kMaxFollowupPauseMs);
        const bool paused = time.Pause(pause);
        if (!next)
            return 0;
        if (!paused || time.Spent()) {
            // What the chain sent so far went out; the rest is given up, and the operator told.
            time.CutShort();
            return 0;
        }
        message = next;
    }
}

int CMatrix::AddMessage(std::unique_ptr<CMessage> message) {
    if (message)
        m_messages.push_back(std::move(message));
    return 0;
}

CMatrix::Position CMatrix::FindMessage(const std::string& name) const {
    for (Position p = 0; p < m_messages.size(); ++p)
        if (m_messages[p]->GetName() == name)
            return p;
    return MessagesEnd();
}

CMessage* CMatrix::MessageAt(Position position) const {
    return position < m_messages.size() ? m_messages[position].get() : nullptr;
}

CCommPortSetting* CMatrix::GetPort(BOOL& own) const {
    own = m_ownPort;
    return m_port;
}

int CMatrix::SetPort(BOOL own, CCommPortSetting* port) {
    if (own) {
        if (port != m_ownedPort.get())
            m_ownedPort.reset(port);
        m_port = port;
        m_ownPort = TRUE;
    } else {
        m_ownedPort.reset();
        m_port = nullptr;
        m_ownPort = FALSE;
    }
    return 0;
}

void CMatrix::SetSignal(const std::string& type, const std::string& growType) {
    m_signal = Upper(type);
    m_growSignal = Upper(growType);
}

void CMatrix::GetSignal(std::string& type, std::string& growType) const {
    type = m_signal;
    growType = m_growSignal;
}

int ParseSignalType(const std::string& text) {
    std::string upper = Upper(text);
    if (upper == "VGA")
        return kSignalVga;
    if (upper == "DVI")
        return kSignalDvi;
    if (upper == "HDMI")
        return kSignalHdmi;
    return kSignalAv;
}

std::string SignalTypeToName(int signalType) {
    switch (signalType) {
    case kSignalAv: return "AV";
    case kSignalVga: return "VGA";
    case kSignalHdmi: return "HDMI";
    default: return "DVI";
    }
}
