#pragma once

// Hands the program's resource tables (dialogs, menus, accelerators, strings, icons) to the framework layer; called once at
// start-up before any window is made.
void RegisterResourceTables();
