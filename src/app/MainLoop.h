#pragma once

#include <functional>

// Runs fn from the event loop once control is back in the program's main loop: never inside a
// nested loop, such as a server request's wait or a modal window's exec(), whose caller would
// find the world changed under it when the loop returns. While a nested loop runs, fn waits
// (checked every 20 ms).
void PostToMainLoop(std::function<void()> fn);
