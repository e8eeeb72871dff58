#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Show commands of the classic shell call.
enum ShowCommand : int { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWNORMALFOCUS = 5 };

// Opening documents and addresses with their default handler, printing documents, and starting
// other programs without waiting for them.
class Shell
{
public:
    virtual ~Shell() = default;

    // verb "open" or "print"; returns the classic code: above 32 on success, otherwise the
    // failure code (2 file not found, 31 no handler, ...).
    virtual int ShellExecute(const QString& verb, const QString& file, const QString& parameters,
                             const QString& directory, int showCommand);

    // Opens a web page with the default browser without holding the caller's event loop: the
    // desktop's opener is started and this returns at once, 42 when it started, else the
    // failure code. A failure the opener reports later (its exit code) reaches onFailure with
    // the classic code, from the event loop.
    virtual int OpenPage(const QString& address, std::function<void(int code)> onFailure);

    // Prints a PDF on the named printer (empty: the default one); same return codes.
    virtual int PrintFile(const QString& file, const QString& printer, int copies);

    // Starts program with arguments (never through a shell) without waiting. False when it
    // could not be started.
    virtual bool StartProgram(const QString& program, const QStringList& arguments, int showCommand);
};

// The first of names found on PATH: a program the desktop provides. Empty on Windows, whose
// system programs are named by the registry instead.
QString FindDesktopProgram(const QStringList& names);

// The installed shell (the real one unless a test installed a recorder).
Shell& TheShell();
