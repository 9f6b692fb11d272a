#pragma once

#include "PortLink.h"
#include "Pty.h"
#include "WorkingDir.h"

#include <string>
#include <vector>

class CCommPortSetting;
class CNotify;

// A working folder with the settings files, a pseudo-terminal behind "COM5", and a record of the events a
// hub raised under chosen names.
class WallOnPty {
public:
    WallOnPty();
    // Leaves every hub it listens on: the hubs are process-wide and outlive it.
    ~WallOnPty();
    WallOnPty(const WallOnPty&) = delete;
    WallOnPty& operator=(const WallOnPty&) = delete;

    // Opens the port record on the pty, as the operator's "Open" does.
    bool Open(CCommPortSetting* port);
    // Records every event raised under these names on the hub, in order.
    void Listen(CNotify* hub, std::initializer_list<const char*> names);
    const std::vector<std::string>& Events() const { return m_events; }

    WorkingDir dir;
    Pty pty;
    PortLink link;

private:
    std::vector<std::string> m_events;
    std::vector<CNotify*> m_hubs;
};
