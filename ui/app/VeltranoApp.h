#pragma once

#include "platform/gui/frame/WinApp.h"

// The program: builds the main window on the single-document template and runs it; writes nothing at exit.
class CVeltranoApp : public CWinApp {
public:
    CVeltranoApp();
    ~CVeltranoApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    void OnAppAbout();
};

// The string of the message shown when OLE cannot be initialised.
constexpr UINT IDP_OLE_INIT_FAILED = 100;

// The program's entry: registers the resource tables, then runs the application object.
int VeltranoMain(int argc, char** argv);
