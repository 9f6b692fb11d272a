#pragma once

#include "platform/os/String.h"

// A serial port's five settings as a dialog's fields show them: what a controller stores, or opens a port with.
struct SerialFields {
    CString portName;
    int baudRate = 0;
    int dataBits = 0;
    // "1", "1.5" or "2": the controller turns it into the port's index.
    CString stopBits;
    int parity = -1;
};
