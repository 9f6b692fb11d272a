#pragma once

#include "platform/gui/base/Handles.h"

constexpr DWORD SEE_MASK_FLAG_NO_UI = 0x00000400;

struct SHELLEXECUTEINFO {
    DWORD cbSize;
    DWORD fMask;
    HWND hwnd;
    LPCSTR lpVerb;
    LPCSTR lpFile;
    LPCSTR lpParameters;
    LPCSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;
    void* lpIDList;
    LPCSTR lpClass;
    void* hkeyClass;
    DWORD dwHotKey;
    HANDLE hIcon;
    HANDLE hProcess;
};
typedef SHELLEXECUTEINFO SHELLEXECUTEINFOA;
typedef SHELLEXECUTEINFO* LPSHELLEXECUTEINFO;

// Opens a URL or an existing file (a name in the file system's encoding, see platform/os/FilePath.h) with the
// desktop's handler. Only the verb "open" (or none) is known;
// anything else, an empty name or a missing file fails with hInstApp at or below 32, and no message is shown.
BOOL ShellExecuteExA(LPSHELLEXECUTEINFO lpExecInfo);
