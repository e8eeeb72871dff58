#pragma once

#include <QString>

#include <functional>
#include <memory>

class clsProperties;
class IMainWindow;

// The program context: the settings object of the current run, and the one registry through
// which code below the windows reaches the windows and the program's end. Windows register
// themselves here (user interface layer, at start); an operation that finds an empty hook goes
// on without the window.

// The one global datum: the settings object of the current run. Start-up replaces it at every
// run; everything else reaches it through Props().
clsProperties& Props();
void SetProps(std::shared_ptr<clsProperties> props);

// The client version, "major.minor.revision" without leading zeros.
QString ClientVersion();

struct WindowHooks {
    // The main window, created on first use by the factory the user interface registers.
    static IMainWindow* MainWindow();
    static void SetMainWindowFactory(std::function<IMainWindow*()> factory);
    // Forgets the current main window (it was unloaded), so the next MainWindow() creates one.
    static void MainWindowUnloaded();

    // Shows the settings window modally.
    static std::function<void()>& ShowSettingsWindow();
    // While set, unloading the settings window neither asks nor ends the program, and loading
    // it leaves its boxes empty. The main window sets it around Reload; it outlives the window.
    static bool& SettingsUserCancelled();

    // Shows the change-password window modally and returns when it is closed.
    static std::function<void(bool userInitiated)>& ShowChangePassword();

    // Unloads the windows that Reload discards (settings, about, change password, existing-report
    // check, login by reference, pull request, status).
    static std::function<void()>& UnloadWindowsForReload();

    // Ends the program. Default: every event loop is told to exit (QCoreApplication::exit),
    // so the run ends once control is back in the main loop.
    static std::function<void()>& EndProgram();

    // Set once ending the program was asked for in this process; code running after such a
    // request (the rest of start-up) checks it and stops.
    static bool& EndRequested();

    // Calls EndProgram (or the default when it is empty) and sets EndRequested.
    static void RequestEnd();
};
