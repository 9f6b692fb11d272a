#pragma once

#include "ChannelTable.h"
#include "CommPort.h"
#include "Message.h"
#include "platform/os/Types.h"

#include <memory>
#include <string>
#include <vector>

class CSendBudget;

// Signal type codes of a matrix.
enum SignalType {
    kSignalAv = 0,
    kSignalVga = 1,
    kSignalDvi = 2,
    kSignalHdmi = 3,
};

// One video matrix switcher: its messages, its channel names, the wall commands sent after a switch, and the
// port its messages go out on (its own, or the wall's).
class CMatrix {
public:
    using Position = size_t;

    CMatrix(const std::string& name, int signalType);
    CMatrix(const CMatrix&) = delete;
    CMatrix& operator=(const CMatrix&) = delete;
    virtual ~CMatrix();

    // Sends the named message with input lowIn and output highIn, then its follow-ups, within the action's budget
    // (alone, a switch has one of its own). 0 when every message was written in full (also when there is no such
    // message), or when follow-ups were left out for the budget, which counts the switch as cut short; -1 when a
    // message cannot be built, the own port is closed or a write failed, which ends the chain.
    virtual int ExecuteCommand(int lowIn, int highIn, const std::string& name, CSendBudget* budget = nullptr);

    // Takes the message; a null one is ignored. 0.
    int AddMessage(std::unique_ptr<CMessage> message);
    // The first message of that exact name, else MessagesEnd().
    Position FindMessage(const std::string& name) const;
    Position MessagesBegin() const { return 0; }
    Position MessagesEnd() const { return m_messages.size(); }
    static Position NextMessage(Position position) { return position + 1; }
    // Null at (or past) the end.
    CMessage* MessageAt(Position position) const;

    // The port the messages go out on: own TRUE for a port of its own; FALSE with the wall's port once a message
    // went out, or null before that.
    CCommPortSetting* GetPort(BOOL& own) const;
    // own TRUE: the matrix takes the port (dropping an own port it held before). own FALSE: drops an own port
    // and goes back to the wall's. The wall's port is never deleted. 0.
    int SetPort(BOOL own, CCommPortSetting* port);

    void SetSignal(const std::string& type, const std::string& growType);
    void GetSignal(std::string& type, std::string& growType) const;
    const std::string& GetName() const { return m_name; }
    void SetName(const std::string& name) { m_name = name; }
    int GetSignalType() const { return m_signalType; }
    void SetSignalType(int signalType) { m_signalType = signalType; }
    // The matrix owns its table.
    void SetChannelTable(std::unique_ptr<CChannelTable> table) { m_channels = std::move(table); }
    CChannelTable* GetChannelTable() const { return m_channels.get(); }

private:
    std::vector<std::unique_ptr<CMessage>> m_messages;
    BOOL m_ownPort;
    CCommPortSetting* m_port; // the own port (owned, in m_ownedPort) or the wall's, remembered
    std::unique_ptr<CCommPortSetting> m_ownedPort;
    std::unique_ptr<CChannelTable> m_channels;
    std::string m_name;
    int m_signalType;
    std::string m_signal;     // upper-cased
    std::string m_growSignal; // upper-cased
};

// "VGA", "DVI", "HDMI" in any case give their codes; any other text gives 0 (AV).
int ParseSignalType(const std::string& text);
// 0 "AV", 1 "VGA", 3 "HDMI", any other code "DVI".
std::string SignalTypeToName(int signalType);
