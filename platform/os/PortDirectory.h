#pragma once

#include <string>

// Where the device behind a port name such as "COM3" is found: <port directory>/COM3 when that exists, else
// /dev/ttyS2 (COMn is /dev/ttyS<n-1>). The directory is $VELTRANO_PORT_DIR, else $XDG_CONFIG_HOME/veltrano/ports,
// else ~/.config/veltrano/ports.
std::string PortDirectory();

// The device path for a port name, with or without the "\\.\" prefix; empty when the name is not a port name.
// Only the plain spelling "COM1" to "COM255" is one: "COM001", "com1" or "COM1 " are not found.
std::string PortDevicePath(const std::string& portName);
