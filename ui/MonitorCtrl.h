#pragma once

#include "platform/os/Object.h"
#include "platform/os/Types.h"

class CDlgMonitorCtrl;
class CMonitorModel;

// The monitor-remote dialog's controller: its own port and the sixteen monitor commands, sent to one address or
// to a range of addresses.
class CMonitorCtrl : public CObject {
public:
    explicit CMonitorCtrl(CMonitorModel* model) : m_model(model) {}

    void SetDialog(CDlgMonitorCtrl* dialog) { m_dialog = dialog; }

    // Opens the port with the dialog's settings and stores them; the dialog's controls follow the port.
    int OpenPort();
    int ClosePort();
    // Sends the command to the dialog's address or address range; 96 for a range that runs backwards.
    int SendCode(int code);

    int PowerOn() { return SendCode(1); }
    int PowerOff() { return SendCode(2); }
    int Video1() { return SendCode(3); }
    int Video2() { return SendCode(4); }
    int Vga() { return SendCode(5); }
    int Dvi() { return SendCode(6); }
    int Up() { return SendCode(8); }
    int Down() { return SendCode(9); }
    int Left() { return SendCode(10); }
    int Right() { return SendCode(11); }
    int Enter() { return SendCode(12); }
    int Mute() { return SendCode(13); }
    int Freeze() { return SendCode(14); }
    int PictureMode() { return SendCode(15); }
    int AspectRatio() { return SendCode(16); }

private:
    CMonitorModel* m_model;
    CDlgMonitorCtrl* m_dialog = nullptr;
};
