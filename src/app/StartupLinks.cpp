#include "app/StartupLinks.h"

namespace {

struct Links {
    std::function<IMainWindow*()> factory;
    IMainWindow* mainWindow = nullptr;
    std::function<void()> showSettings;
};

Links& links()
{
    static Links instance;
    return instance;
}

} // namespace

namespace StartupLinks {

IMainWindow* MainWindow()
{
    Links& l = links();
    if (!l.mainWindow && l.factory)
        l.mainWindow = l.factory();
    return l.mainWindow;
}

void SetMainWindowFactory(std::function<IMainWindow*()> factory)
{
    links().factory = std::move(factory);
    links().mainWindow = nullptr;
}

void MainWindowUnloaded()
{
    links().mainWindow = nullptr;
}

std::function<void()>& ShowSettingsWindow()
{
    return links().showSettings;
}

} // namespace StartupLinks
