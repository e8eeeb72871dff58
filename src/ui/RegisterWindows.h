#pragma once

// Registers the program's windows in the program context (main window factory, settings,
// change-password and reload hooks).
void RegisterWindows();
