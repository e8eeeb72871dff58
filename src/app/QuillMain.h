#pragma once

// The program's entry: start-up, then the event loop while the main window is open.
// registerWindows registers the program's windows in the program context before start-up runs;
// the entry in main.cpp passes it in, so start-up never reaches up into the user interface.
int QuillMain(int argc, char** argv, void (*registerWindows)());
