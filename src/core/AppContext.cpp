#include "core/AppContext.h"

#include "core/clsProperties.h"

#include <QCoreApplication>

namespace {

std::shared_ptr<clsProperties>& current()
{
    static std::shared_ptr<clsProperties> props = std::make_shared<clsProperties>();
    return props;
}

struct MainWindowSlot {
    std::function<IMainWindow*()> factory;
    IMainWindow* window = nullptr;
};

MainWindowSlot& mainWindow()
{
    static MainWindowSlot slot;
    return slot;
}

} // namespace

clsProperties& Props()
{
    return *current();
}

void SetProps(std::shared_ptr<clsProperties> props)
{
    current() = props ? std::move(props) : std::make_shared<clsProperties>();
}

QString ClientVersion()
{
    return QStringLiteral("%1.%2.%3").arg(QUILL_VERSION_MAJOR).arg(QUILL_VERSION_MINOR).arg(QUILL_VERSION_PATCH);
}

IMainWindow* WindowHooks::MainWindow()
{
    MainWindowSlot& slot = mainWindow();
    if (!slot.window && slot.factory)
        slot.window = slot.factory();
    return slot.window;
}

void WindowHooks::SetMainWindowFactory(std::function<IMainWindow*()> factory)
{
    mainWindow().factory = std::move(factory);
    mainWindow().window = nullptr;
}

void WindowHooks::MainWindowUnloaded()
{
    mainWindow().window = nullptr;
}

std::function<void()>& WindowHooks::ShowSettingsWindow()
{
    static std::function<void()> hook;
    return hook;
}

bool& WindowHooks::SettingsUserCancelled()
{
    static bool cancelled = false;
    return cancelled;
}

std::function<void(bool)>& WindowHooks::ShowChangePassword()
{
    static std::function<void(bool)> hook;
    return hook;
}

std::function<void()>& WindowHooks::UnloadWindowsForReload()
{
    static std::function<void()> hook;
    return hook;
}

std::function<void()>& WindowHooks::EndProgram()
{
    static std::function<void()> hook = [] { QCoreApplication::exit(0); };
    return hook;
}

bool& WindowHooks::EndRequested()
{
    static bool requested = false;
    return requested;
}

void WindowHooks::RequestEnd()
{
    EndRequested() = true;
    if (EndProgram())
        EndProgram()();
    else
        QCoreApplication::exit(0);
}
