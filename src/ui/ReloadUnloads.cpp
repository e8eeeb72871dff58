#include "ui/ReloadUnloads.h"

#include "core/AppContext.h"

#include <array>

namespace {

using Parts = std::array<std::function<void()>, static_cast<std::size_t>(ReloadPart::OrderingWindows) + 1>;

Parts& parts()
{
    static Parts unloads;
    return unloads;
}

void unloadParts()
{
    for (const auto& unload : parts()) {
        if (unload)
            unload();
    }
}

} // namespace

void SetReloadUnload(ReloadPart part, std::function<void()> unload)
{
    parts().at(static_cast<std::size_t>(part)) = std::move(unload);
    WindowHooks::UnloadWindowsForReload() = unloadParts;
}
