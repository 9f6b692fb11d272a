#pragma once

#include "platform/os/Version.h"

// The running system as a code: 1 Win32s; 2, 3, 4 the 95 family (4.10 gives 3, 4.90 gives 4); 6 NT 4;
// 7 NT 5.0; 8 NT 5.1; 5 any other NT version, every later one included. Below 8 the system draws no menu
// shadow of its own. 0 when the version cannot be read (asked again next time); otherwise kept for the run.
int GetWinVersionXP();
// The code of a version record.
int WinVersionCodeXP(const OSVERSIONINFOA& info);
