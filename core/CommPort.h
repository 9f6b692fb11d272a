#pragma once

#include "platform/os/Types.h"

#include <mutex>
#include <string>

// A send-only serial link. A command counts as delivered when every byte of it was written.
class CCommPort {
public:
    CCommPort();
    CCommPort(const CCommPort&) = delete;
    CCommPort& operator=(const CCommPort&) = delete;
    virtual ~CCommPort();

    // Opens the device ("\\.\COM3") and configures it; an open port is closed first.
    BOOL Open(const std::string& deviceName, DWORD baudRate, BYTE dataBits, BYTE stopBits, BYTE parity);
    // TRUE only when every byte was written; a closed port leaves *written untouched.
    BOOL Write(const BYTE* data, DWORD count, DWORD* written);
    int Close();
    BOOL IsOpen() const;

private:
    void CloseSequence();

    HANDLE m_handle;
    std::recursive_mutex m_lock;
};

// A port together with the five values it is opened with and the settings file stores.
class CCommPortSetting : public CCommPort {
public:
    CCommPortSetting();

    // Stores the values; an open port keeps its configuration until it is opened again.
    void SetSettings(const std::string& portName, int baudRate, int dataBits, int stopBits, int parity);

    std::string m_portName; // "COM3": no device prefix
    int m_baudRate;
    int m_dataBits;
    int m_stopBits; // 0 one, 1 one and a half, 2 two
    int m_parity;   // 0 none, 1 odd, 2 even, 3 mark, 4 space
};

// The stop bits as the dialogs and the matrix file show them: "1", "1.5", "2".
std::string StopBitsToString(int stopBits);
int StringToStopBits(const std::string& text);

// Numbers a port can be opened with: a positive baud rate, 5 to 8 data bits, a stop-bits index 0 to 2, a parity
// index 0 to 4. A settings file or a matrix definition holding anything else is read as if it left the number out.
bool IsBaudRate(int baudRate);
bool IsDataBits(int dataBits);
bool IsStopBits(int stopBits);
bool IsParity(int parity);
