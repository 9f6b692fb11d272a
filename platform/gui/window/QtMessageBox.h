#pragma once

#include "platform/gui/base/Handles.h"
#include "platform/os/MessageBox.h"
#include "platform/os/Types.h"

// Puts a real QMessageBox behind the message-box seam, so that every message box of the program (the core's
// result-code messages included) shows as a modal box over the active window. The program calls this once at
// start, after the application object exists.
void InstallQtMessageBox();

// A box whose text is a string resource; an id no table holds shows an empty text.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));

// The platform's own box: a null caption reads "Error". The owner is not used: the box sits over the active window.
int MessageBox(HWND hWnd, LPCTSTR lpText, LPCTSTR lpCaption, UINT uType);
