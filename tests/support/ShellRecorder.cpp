#include "ShellRecorder.h"

int ShellRecorder::ShellExecute(const QString& verb, const QString& file, const QString& parameters, const QString&,
                                int showCommand)
{
    calls << Call{verb, file, parameters.isEmpty() ? QStringList() : QStringList{parameters}, showCommand};
    return result;
}

int ShellRecorder::OpenPage(const QString& address, std::function<void(int code)> onFailure)
{
    calls << Call{QStringLiteral("open"), address, QStringList(), SW_SHOWNORMAL};
    if (result <= 32 && onFailure)
        onFailure(result);
    return 42;
}

int ShellRecorder::PrintFile(const QString& file, const QString& printer, int copies)
{
    calls << Call{QStringLiteral("print"), file, {printer, QString::number(copies)}, 0};
    return result;
}

bool ShellRecorder::StartProgram(const QString& program, const QStringList& arguments, int showCommand)
{
    calls << Call{QStringLiteral("start"), program, arguments, showCommand};
    return true;
}

void FakeDesktop::SetHourglass(bool busy)
{
    busyDepth += busy ? 1 : -1;
    if (busy)
        ++hourglassShown;
}

bool FakeDesktop::ChoosePrinter(PrinterChoice& choice)
{
    if (printerAccepted)
        choice = printerChoice;
    return printerAccepted;
}
