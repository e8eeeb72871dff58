#include "app/WindowHooks.h"

#include <QCoreApplication>

std::function<void(bool)>& WindowHooks::ShowChangePassword()
{
    static std::function<void(bool)> hook;
    return hook;
}

std::function<bool(const QString&, QString&)>& WindowHooks::WaitForStatus()
{
    static std::function<bool(const QString&, QString&)> hook;
    return hook;
}

std::function<bool(const QString&, QString&)>& WindowHooks::WaitForPdf()
{
    static std::function<bool(const QString&, QString&)> hook;
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
