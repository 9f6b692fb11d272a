#pragma once

// Puts a real QMessageBox behind the message-box seam, so that every message box of the program (the core's
// result-code messages included) shows as a modal box over the active window. The program calls this once at
// start, after the application object exists.
void InstallQtMessageBox();
