#include "ui/app/VeltranoApp.h"

// The one application object, made before the program's entry runs.
CVeltranoApp theApp;

int main(int argc, char** argv) { return VeltranoMain(argc, argv); }
