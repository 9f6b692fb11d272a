#include "MonitorModel.h"

#include "CommPort.h"
#include "ErrorMessage.h"
#include "SystemConfig.h"

#include <cstring>

const WORD MonitorCommandTable[kMonitorCommandCount] = {
    0x0110, 0x0010, 0x0020, 0x0120, 0x0220, 0x0420, 0x0520, 0x0124,
    0x0125, 0x0126, 0x0127, 0x0123, 0x012B, 0x012A, 0x0129, 0x0128,
};

namespace {

constexpr int kMonitorFrameLength = 6;

} // namespace

int BuildMonitorFrame(int index, BYTE a, BYTE b, BYTE* buffer, int* length) {
    if (!buffer || !length || *length < kMonitorFrameLength)
        return 0;
    const WORD code = (index >= 1 && index <= kMonitorCommandCount) ? MonitorCommandTable[index - 1] : 0;
    std::memset(buffer, 0, static_cast<size_t>(*length));
    buffer[0] = 0xD5;
    buffer[1] = a;
    buffer[2] = b;
    buffer[3] = LOBYTE(code);
    buffer[4] = HIBYTE(code);
    buffer[5] = 0xAA;
    *length = kMonitorFrameLength;
    return 1;
}

CMonitorModel::CMonitorModel() = default;

int CMonitorModel::SendMonitorCommand(int index, BYTE a, BYTE b) {
    BYTE frame[kMonitorFrameLength];
    int length = kMonitorFrameLength;
    BuildMonitorFrame(index, a, b, frame, &length);
    DWORD written = 0;
    if (!GetCommPort()->Write(frame, static_cast<DWORD>(length), &written) || written != static_cast<DWORD>(length))
        return kResultWriteFailed;
    return kResultOk;
}

int CMonitorModel::LoadComm(std::string& port, int& baud, int& dataBits, int& stopBits, int& parity) {
    return GetSettings()->LoadMonitorComm(port, baud, dataBits, stopBits, parity);
}

int CMonitorModel::SaveComm() {
    const CCommPortSetting* port = GetCommPort();
    return GetSettings()->SaveMonitorComm(port->m_portName, port->m_baudRate, port->m_dataBits, port->m_stopBits,
                                          port->m_parity);
}
