#pragma once

#include <QString>

#include <functional>

// What start-up asks of the main window. The window registers itself, so start-up stays free of
// widgets and can be run against a recording stand-in.
class IMainWindow
{
public:
    virtual ~IMainWindow() = default;
    virtual void SetVersionLabel(const QString& version) = 0;
    virtual void SetCaption(const QString& caption) = 0;
    // pictureIndex is 1-based, as in the window's image list.
    virtual void SetLogo(int pictureIndex) = 0;
    virtual void SetLogoTooltip(const QString& tooltip) = 0;
    virtual void ShowWindow() = 0;
    virtual void Unload() = 0;
    // Loads the exported loan, searches the vendor and sets the buttons.
    virtual void CheckForExisting() = 0;
    // The report ID the existing-report check found ("ERROR" when the search failed).
    virtual QString ExistingReportID() const = 0;
    virtual void SetButtonEnabled(const QString& objectName, bool enabled) = 0;
    virtual void SetButtonText(const QString& objectName, const QString& caption, const QString& tooltip) = 0;
};

namespace StartupLinks {

// The main window, created on first use by the factory the user interface registers.
IMainWindow* MainWindow();
void SetMainWindowFactory(std::function<IMainWindow*()> factory);
// Forgets the current main window (it was unloaded), so the next MainWindow() creates one.
void MainWindowUnloaded();

// Shows the settings window modally.
std::function<void()>& ShowSettingsWindow();

} // namespace StartupLinks

// Registers the program's windows with start-up and the server operations (user interface layer).
void RegisterWindows();

namespace StartupLinks {

// Unloads the windows that Reload discards (settings, about, change password, existing-report
// check, login by reference, pull request, status).
std::function<void()>& UnloadWindowsForReload();
// Sets the settings window's UserCancelled.
std::function<void(bool)>& SetSettingsUserCancelled();

// Runs start-up again once the current handler has returned and control is back in the main
// loop (never inside a request's wait or a modal window); prepare runs first. A request made
// while one is pending is ignored.
void QueueRestart(std::function<void()> prepare = nullptr);
bool RestartPending();

} // namespace StartupLinks
