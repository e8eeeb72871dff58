#pragma once

#include <functional>

// Runs fn once from the event loop, after the handler that asked for it has returned: no
// caller finds the world changed under it. Nothing waits for a nested loop to end; a start-up
// run that a box of it keeps open when fn replaces it goes once that box has closed.
void PostToMainLoop(std::function<void()> fn);
