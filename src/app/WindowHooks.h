#pragma once

#include <QString>

#include <functional>

// How operations without windows reach the windows and the program's end. Windows register
// themselves here; an operation finds an empty hook when no window is registered and goes on
// without it.
struct WindowHooks
{
    // Shows the change-password window modally and returns when it is closed.
    static std::function<void(bool userInitiated)>& ShowChangePassword();

    // Shows the status window in report-status mode (GetReport/CheckForStatus), polling `address`
    // every PollingSleepTime ms until no bureau is "1". Returns false when the user closed the window
    // (UserUnloaded); otherwise `answer` holds the last answer. A transport failure during a poll is shown
    // and logged by the window and ends the wait with an answer beginning "FAILED".
    static std::function<bool(const QString& address, QString& answer)>& WaitForStatus();
    // Same in PDF mode (GetPDF/CheckForPDF): until the answer no longer begins with "PENDING"; an answer
    // beginning with "<" becomes "FAILED".
    static std::function<bool(const QString& address, QString& answer)>& WaitForPdf();

    // Ends the program. Default: every event loop is told to exit (QCoreApplication::exit),
    // so the run ends once control is back in the main loop.
    static std::function<void()>& EndProgram();

    // Set once ending the program was asked for in this process; code running after such a
    // request (the rest of start-up) checks it and stops.
    static bool& EndRequested();

    // Calls EndProgram (or the default when it is empty) and sets EndRequested.
    static void RequestEnd();
};
