#pragma once

#include <functional>

// What Reload unloads, one part per group of windows. The parts run in the order of ReloadPart,
// whatever the order in which the groups registered: the account windows first (settings, about,
// change password), then the ordering windows (login by reference, pull request, status).
// Registering a part again replaces it.
enum class ReloadPart { AccountWindows, OrderingWindows };

// Sets the part; WindowHooks::UnloadWindowsForReload then runs every part set so far.
void SetReloadUnload(ReloadPart part, std::function<void()> unload);
