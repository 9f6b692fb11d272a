#include "WallOnPty.h"

#include "core/CommPort.h"
#include "core/Notify.h"

#include <algorithm>

WallOnPty::WallOnPty() { link.Link("COM5", pty.SlavePath()); }

WallOnPty::~WallOnPty() {
    for (CNotify* hub : m_hubs)
        hub->UnregisterAll(this);
}

bool WallOnPty::Open(CCommPortSetting* port) {
    port->m_portName = "COM5";
    return port->Open("\\\\.\\COM5", static_cast<DWORD>(port->m_baudRate), static_cast<BYTE>(port->m_dataBits),
                      static_cast<BYTE>(port->m_stopBits), static_cast<BYTE>(port->m_parity)) == TRUE;
}

void WallOnPty::Listen(CNotify* hub, std::initializer_list<const char*> names) {
    if (std::find(m_hubs.begin(), m_hubs.end(), hub) == m_hubs.end())
        m_hubs.push_back(hub);
    for (const char* name : names)
        hub->Register(name, this, [this](NotifyEvent* e) { m_events.push_back(e->GetName()); });
}
