#include "ui/VeltranoApp.h"

#include "platform/gui/WinApp.h"

// The one application object, made before the program's entry runs.
CVeltranoApp theApp;

int main(int argc, char** argv) { return AfxWinMain(argc, argv); }
