#include "WallModelBase.h"

#include "CommPort.h"
#include "CommandMap.h"
#include "ErrorMessage.h"
#include "SystemConfig.h"
#include "WallFrame.h"
#include "platform/os/Rect.h"

namespace {

const char kCommandFile[] = "command.xml";
const char kSettingsFile[] = ".\\system.xml";

CRect AreaOrNull(const RECT* area) { return area ? CRect(*area) : CRect(); }

} // namespace

CWallModelBase::CWallModelBase() : m_commandMap(CCommandMap::GetInstance()), m_settings(nullptr) {
    m_commandMap->Load(kCommandFile);
    m_port = std::make_unique<CCommPortSetting>();
    m_settingsPath = kSettingsFile;
    m_settings = CSystemConfig::GetInstance();
    m_settings->Load(m_settingsPath);
}

// The port goes first (closing it), then the hub.
CWallModelBase::~CWallModelBase() { m_port.reset(); }

void CWallModelBase::RaiseEvent(const std::string& name) {
    NotifyEvent event(name);
    Notify(&event);
}

int CWallModelBase::WriteFrame(const FrameBuffer& frame) {
    const DWORD length = static_cast<DWORD>(frame.Length());
    DWORD written = 0;
    if (!m_port->Write(frame.bytes, length, &written) || written != length)
        return kResultWriteFailed;
    return kResultOk;
}

int CWallModelBase::SendWindowCommand(const std::string& name, const RECT* wallRect, const RECT* area, int value) {
    FrameBuffer frame;
    m_commandMap->BuildWindowFrame(frame, name, AreaOrNull(wallRect), AreaOrNull(area), value);
    const int result = WriteFrame(frame);
    if (result == kResultOk)
        RaiseEvent(name);
    return result;
}

int CWallModelBase::SendShortCommand(const std::string& name, const RECT* area, int value) {
    const CRect a = AreaOrNull(area);
    return WriteFrame(m_commandMap->BuildShortFrame(name, a.left, a.top, a.right, a.bottom, value));
}

int CWallModelBase::SendCommand(const std::string& name, const RECT* area, int value) {
    const int result = SendShortCommand(name, area, value);
    if (result == kResultOk)
        RaiseEvent(name);
    return result;
}

int CWallModelBase::SendCommandByte(const std::string& name, const RECT* area, BYTE value) {
    const CRect a = AreaOrNull(area);
    FrameBuffer frame = m_commandMap->BuildShortFrame(name, a.left, a.top, a.right, a.bottom, 0);
    frame.bytes[4] = value;
    return WriteFrame(frame);
}

int CWallModelBase::SendSourceCommand(const std::string& name, BYTE a, BYTE b, BYTE c) {
    FrameBuffer frame = m_commandMap->BuildShortFrame(name, 0, 0, 0, 0, 0);
    if (name == "YPBPR") {
        frame.bytes[1] = 0xFF;
        frame.bytes[2] = a;
        frame.bytes[3] = b;
        frame.bytes[4] = c;
    }
    return WriteFrame(frame);
}
