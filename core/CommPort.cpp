#include "CommPort.h"

#include "WallDefaults.h"

#include "platform/os/SerialDevice.h"

namespace {

constexpr DWORD kInputQueue = 0xA0000;
constexpr DWORD kOutputQueue = 128;
constexpr DWORD kPurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;

} // namespace

CCommPort::CCommPort() : m_handle(INVALID_HANDLE_VALUE) {}

CCommPort::~CCommPort() { CloseSequence(); }

BOOL CCommPort::Open(const std::string& deviceName, DWORD baudRate, BYTE dataBits, BYTE stopBits, BYTE parity) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    CloseSequence();

    m_handle = CreateFileA(deviceName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (m_handle == INVALID_HANDLE_VALUE)
        return FALSE;

    SetCommMask(m_handle, EV_RXCHAR | EV_RLSD);
    SetupComm(m_handle, kInputQueue, kOutputQueue);
    PurgeComm(m_handle, kPurgeAll);

    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    if (!GetCommState(m_handle, &dcb)) {
        CloseSequence();
        return FALSE;
    }
    dcb.BaudRate = baudRate;
    dcb.ByteSize = dataBits;
    dcb.StopBits = stopBits;
    dcb.Parity = parity;
    if (!SetCommState(m_handle, &dcb)) {
        CloseSequence();
        return FALSE;
    }

    COMMTIMEOUTS timeouts{0, 1, 100, 1, 100};
    SetCommTimeouts(m_handle, &timeouts);
    EscapeCommFunction(m_handle, SETDTR);
    return TRUE;
}

BOOL CCommPort::Write(const BYTE* data, DWORD count, DWORD* written) {
    if (!IsOpen())
        return FALSE;
    DWORD done = 0;
    BOOL ok;
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        ok = WriteFile(m_handle, data, count, &done, nullptr);
    }
    if (written)
        *written = done;
    return (ok && done == count) ? TRUE : FALSE;
}

int CCommPort::Close() {
    CloseSequence();
    return 1;
}

BOOL CCommPort::IsOpen() const { return m_handle != INVALID_HANDLE_VALUE ? TRUE : FALSE; }

void CCommPort::CloseSequence() {
    if (m_handle == INVALID_HANDLE_VALUE)
        return;
    SetCommMask(m_handle, 0);
    EscapeCommFunction(m_handle, CLRDTR);
    PurgeComm(m_handle, kPurgeAll);
    CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

CCommPortSetting::CCommPortSetting()
    : m_baudRate(kDefaultBaudRate), m_dataBits(kDefaultDataBits), m_stopBits(kDefaultStopBits),
      m_parity(kDefaultParity) {}

void CCommPortSetting::SetSettings(const std::string& portName, int baudRate, int dataBits, int stopBits, int parity) {
    m_portName = portName;
    m_baudRate = baudRate;
    m_dataBits = dataBits;
    m_stopBits = stopBits;
    m_parity = parity;
}

std::string StopBitsToString(int stopBits) {
    switch (stopBits) {
    case 1: return "1.5";
    case 2: return "2";
    default: return "1";
    }
}

int StringToStopBits(const std::string& text) {
    if (text == "1.5")
        return 1;
    if (text == "2")
        return 2;
    return 0;
}

bool IsBaudRate(int baudRate) { return baudRate > 0; }
bool IsDataBits(int dataBits) { return dataBits >= 5 && dataBits <= 8; }
bool IsStopBits(int stopBits) { return stopBits >= ONESTOPBIT && stopBits <= TWOSTOPBITS; }
bool IsParity(int parity) { return parity >= NOPARITY && parity <= SPACEPARITY; }
