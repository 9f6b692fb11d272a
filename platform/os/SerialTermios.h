#pragma once

#include "SerialDevice.h"

#include <termios.h>

// The mapping between the device control block and a terminal's settings.
struct TermiosMapping {
    struct termios settings;
    bool customBaud; // the rate has no speed constant: it is set separately, by number
    DWORD baudRate;
};

// Fills a raw-mode termios from the block's rate, byte size, parity and stop bits, starting from the device's
// current settings. Refuses (false) what the platform refuses: byte sizes outside 5 to 8, parity or stop-bits
// indexes out of range, one and a half stop bits with anything but 5 data bits, two stop bits with 5, rate 0.
bool DcbToTermios(const DCB& dcb, const struct termios& current, TermiosMapping& out);

// Reads rate, byte size, parity and stop bits back from a terminal's settings.
void TermiosToDcb(const struct termios& settings, DCB& dcb);

// Sets a rate that has no speed constant on an open terminal (termios2 with BOTHER).
bool SetCustomBaudRate(int fd, DWORD baudRate);
