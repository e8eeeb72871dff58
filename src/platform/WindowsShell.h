#pragma once

#include <QString>

// The Windows shell behind Shell: ShellExecuteEx with the classic result codes. Declared on every
// system so the code mapping is one table; the shell call itself exists only on Windows.
namespace WindowsShell {

// The classic ShellExecute result (above 32 on success) for what ShellExecuteEx reported: its
// hInstApp when that is a classic failure code, else its Win32 error (GetLastError).
int ClassicCode(bool succeeded, long long instApp, unsigned long win32Error);

// What ShellExecuteEx is given to open: a local file in the system's separators, an address
// (a scheme of two letters or more: http:, https:, mailto:) exactly as built, since a "\" in
// it would be another address, or no address at all, to the handler that receives it.
QString ShellTarget(const QString& file);

#ifdef Q_OS_WIN
// Performs verb ("open", "print", "printto") on file with parameters, showing no error dialog of
// its own: the caller explains a failure. Waits for DDE-based handlers to take the request.
int Execute(const QString& verb, const QString& file, const QString& parameters, const QString& directory,
            int showCommand);
#endif

} // namespace WindowsShell
