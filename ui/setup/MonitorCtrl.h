#pragma once

#include "ui/forms/SerialFields.h"

#include "platform/os/Object.h"
#include "platform/os/Types.h"

class CDlgMonitorCtrl;
class CMonitorModel;

// The monitor-remote dialog's controller: its own port and the sixteen monitor commands, sent to one address or
// to a range of addresses.
class CMonitorCtrl : public CObject {
public:
    // The monitor commands' codes; no button sends 7.
    enum Code : int {
        kPowerOn = 1,
        kPowerOff = 2,
        kVideo1 = 3,
        kVideo2 = 4,
        kVga = 5,
        kDvi = 6,
        kUp = 8,
        kDown = 9,
        kLeft = 10,
        kRight = 11,
        kEnter = 12,
        kMute = 13,
        kFreeze = 14,
        kPictureMode = 15,
        kAspectRatio = 16,
    };

    explicit CMonitorCtrl(CMonitorModel* model) : m_model(model) {}

    void SetDialog(CDlgMonitorCtrl* dialog) { m_dialog = dialog; }

    // Opens the port with these settings and stores them when it opens; 17 shown when it does not.
    int OpenPort(const SerialFields& settings);
    // Closes the port. 0.
    int ClosePortDevice();
    // Sends the command to the addresses first to last (one address: both the same); 96 for a range that runs
    // backwards.
    int SendCode(int code, int first, int last);

    // The same with the dialog's settings and addresses; the dialog's controls then follow the port.
    int OpenPort();
    int ClosePort();
    int SendCode(int code);

    int PowerOn() { return SendCode(kPowerOn); }
    int PowerOff() { return SendCode(kPowerOff); }
    int Video1() { return SendCode(kVideo1); }
    int Video2() { return SendCode(kVideo2); }
    int Vga() { return SendCode(kVga); }
    int Dvi() { return SendCode(kDvi); }
    int Up() { return SendCode(kUp); }
    int Down() { return SendCode(kDown); }
    int Left() { return SendCode(kLeft); }
    int Right() { return SendCode(kRight); }
    int Enter() { return SendCode(kEnter); }
    int Mute() { return SendCode(kMute); }
    int Freeze() { return SendCode(kFreeze); }
    int PictureMode() { return SendCode(kPictureMode); }
    int AspectRatio() { return SendCode(kAspectRatio); }

private:
    CMonitorModel* m_model;
    CDlgMonitorCtrl* m_dialog = nullptr;
};
