#pragma once

#include "WallModelBase.h"

#include <string>

// The monitor remote's sixteen command codes, by command index 1 to 16 (element 0 is index 1).
constexpr int kMonitorCommandCount = 16;
extern const WORD MonitorCommandTable[kMonitorCommandCount];

// The six-byte monitor frame: D5, first address, last address, code low byte, code high byte, AA. An index
// outside 1 to 16 gives code 0. 0 (nothing written) when *length is below 6; else the first *length bytes are
// cleared, the frame is written, *length becomes 6 and the result is 1.
int BuildMonitorFrame(int index, BYTE a, BYTE b, BYTE* buffer, int* length);

// The monitor remote: a wall model whose port is the monitor port, with its settings in MONITORCTRL/COMM.
class CMonitorModel : public CWallModelBase {
public:
    CMonitorModel();

    // 0 when all six bytes were written, else 16; raises nothing.
    int SendMonitorCommand(int index, BYTE a, BYTE b);
    // 0 when the section is absent, else 1.
    int LoadComm(std::string& port, int& baud, int& dataBits, int& stopBits, int& parity);
    // Writes the port record's settings; -1 when the section is absent, else 0.
    int SaveComm();
};
