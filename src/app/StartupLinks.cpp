#include "app/StartupLinks.h"

#include "app/MainLoop.h"

#include "app/basMain.h"


namespace {

struct Links {
    std::function<IMainWindow*()> factory;
    IMainWindow* mainWindow = nullptr;
    std::function<void()> showSettings;
    std::function<void()> unloadForReload;
    std::function<void(bool)> setUserCancelled;
    bool restartPending = false;
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

namespace StartupLinks {

std::function<void()>& UnloadWindowsForReload()
{
    return links().unloadForReload;
}

std::function<void(bool)>& SetSettingsUserCancelled()
{
    return links().setUserCancelled;
}

void QueueRestart(std::function<void()> prepare)
{
    if (links().restartPending)
        return;
    links().restartPending = true;
    PostToMainLoop([prepare = std::move(prepare)] {
        links().restartPending = false;
        if (prepare)
            prepare();
        Main();
    });
}

bool RestartPending()
{
    return links().restartPending;
}

} // namespace StartupLinks
