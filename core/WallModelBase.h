#pragma once

#include "Notify.h"
#include "platform/os/Types.h"

#include <memory>
#include <string>

class CCommPortSetting;
class CCommandMap;
class CSystemConfig;
struct FrameBuffer;

// Sends named wall commands as frames on one port, and raises events about them. The wall model and the
// monitor model are built on it.
class CWallModelBase : public CNotify {
public:
    CWallModelBase();
    ~CWallModelBase() override;
    CWallModelBase(const CWallModelBase&) = delete;
    CWallModelBase& operator=(const CWallModelBase&) = delete;

    // The port record: the controllers open and close it; its settings are those of the next opening.
    CCommPortSetting* GetCommPort() const { return m_port.get(); }
    CSystemConfig* GetSettings() const { return m_settings; }

    // Each returns 0 when the whole frame was written, else 16. A null area counts as 0, 0, 0, 0.
    int SendWindowCommand(const std::string& name, const RECT* wallRect, const RECT* area, int value);
    int SendCommand(const std::string& name, const RECT* area, int value);
    int SendShortCommand(const std::string& name, const RECT* area, int value);
    int SendCommandByte(const std::string& name, const RECT* area, BYTE value);
    int SendSourceCommand(const std::string& name, BYTE a, BYTE b, BYTE c);

    // Raises a plain event of this name; nobody listening is no error.
    void RaiseEvent(const std::string& name);

private:
    int WriteFrame(const FrameBuffer& frame);

    std::unique_ptr<CCommPortSetting> m_port;
    CCommandMap* m_commandMap;
    std::string m_settingsPath;
    CSystemConfig* m_settings;
};
