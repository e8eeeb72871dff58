#pragma once

#include <QString>

#include <functional>

// How a run of start-up ended, for the program's entry to decide whether to keep running.
enum class StartupOutcome {
    Started,       // the main window is up (possibly after a reported failure)
    Configuration, // the configuration program was handed over to; nothing is open
    FailedHidden,  // start-up failed before the main window was shown
};

// The whole command line after the program's name, searched for "/c", "/C" and "/p".
void SetCommandLine(const QString& commandLine);
QString CommandLine();

// Start-up: records the program in the store, creates the settings object, then either starts
// the configuration program or prepares and shows the main window and loads the settings; what
// that decides is the outcome. A normal start then goes on from the event loop with the account
// checks and the existing-report check (StartupRunning). A run still going is given up first.
// Also run again by Reload and after a rejected password.
StartupOutcome Main();

// Runs start-up again from the event loop once the current handler has returned, never inside
// its call stack; the run still going is given up, then prepare runs. A request made while one
// is pending is ignored.
void QueueRestart(std::function<void()> prepare = nullptr);
bool RestartPending();

// Whether a run of start-up is still on its way through the account checks and the
// existing-report check.
bool StartupRunning();

// The box start-up shows when a step fails, and its error-log line.
void ReportStartupFailure(const QString& description);

// Opens the vendor's news page (NewsBurstUrl, absolute or relative to BaseUrl) in the browser
// with the user's identity in the address. Never fails; a failed open is shown. Always false.
bool ShowNewsBurst();
