#pragma once

// The platform's serial-device calls, on POSIX terminal devices. A handle is an open terminal opened for this
// process alone; its settings and timeouts are kept with it so that writes can be bounded as the platform
// bounds them.

#include "LastError.h"
#include "Types.h"

#include <string>
#include <vector>

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD OPEN_EXISTING = 3;

constexpr DWORD EV_RXCHAR = 0x0001;
constexpr DWORD EV_RLSD = 0x0020;

constexpr DWORD PURGE_TXABORT = 0x0001;
constexpr DWORD PURGE_RXABORT = 0x0002;
constexpr DWORD PURGE_TXCLEAR = 0x0004;
constexpr DWORD PURGE_RXCLEAR = 0x0008;

constexpr DWORD SETDTR = 5;
constexpr DWORD CLRDTR = 6;

constexpr BYTE NOPARITY = 0;
constexpr BYTE ODDPARITY = 1;
constexpr BYTE EVENPARITY = 2;
constexpr BYTE MARKPARITY = 3;
constexpr BYTE SPACEPARITY = 4;

constexpr BYTE ONESTOPBIT = 0;
constexpr BYTE ONE5STOPBITS = 1;
constexpr BYTE TWOSTOPBITS = 2;

// The members of the device control block that this program reads or sets.
struct DCB {
    DWORD DCBlength;
    DWORD BaudRate;
    DWORD fBinary;
    DWORD fParity;
    BYTE ByteSize;
    BYTE Parity;
    BYTE StopBits;
};

struct COMMTIMEOUTS {
    DWORD ReadIntervalTimeout;
    DWORD ReadTotalTimeoutMultiplier;
    DWORD ReadTotalTimeoutConstant;
    DWORD WriteTotalTimeoutMultiplier;
    DWORD WriteTotalTimeoutConstant;
};

// Opens a serial port by name ("\\.\COM3" or "COM3"). Only OPEN_EXISTING with no sharing is supported:
// the port is opened exclusively.
HANDLE CreateFileA(const char* fileName, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
BOOL CloseHandle(HANDLE handle);

BOOL SetCommMask(HANDLE handle, DWORD eventMask);
BOOL SetupComm(HANDLE handle, DWORD inQueue, DWORD outQueue);
BOOL PurgeComm(HANDLE handle, DWORD flags);
BOOL GetCommState(HANDLE handle, DCB* dcb);
BOOL SetCommState(HANDLE handle, DCB* dcb);
BOOL SetCommTimeouts(HANDLE handle, COMMTIMEOUTS* timeouts);
BOOL EscapeCommFunction(HANDLE handle, DWORD function);

// A blocking write bounded by the handle's write timeouts (multiplier per byte plus constant; both zero waits
// without bound). A timeout is not an error: it returns TRUE with the count written so far.
BOOL WriteFile(HANDLE handle, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten, void* overlapped);

// Every call above on a serial handle appends one line here ("SetCommMask 0x21", "EscapeCommFunction SETDTR"),
// so that the order of what was done to a device can be checked where a pseudo-terminal cannot show it.
std::vector<std::string> SerialTrace();
void ClearSerialTrace();
