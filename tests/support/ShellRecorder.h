#pragma once

#include "platform/Desktop.h"
#include "platform/Seam.h"
#include "platform/Shell.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

// Records shell opens, prints and program starts instead of performing them, and answers with
// a settable code (a start always succeeds).
class ShellRecorder : public Shell
{
public:
    struct Call {
        QString verb;   // "open", "print" or "start"
        QString target; // file, address or program
        QStringList arguments;
        int showCommand = 0;
    };

    ShellRecorder() { Seam<Shell>::set(this); } // installs itself
    ~ShellRecorder() override { Seam<Shell>::set(nullptr); }

    int ShellExecute(const QString& verb, const QString& file, const QString& parameters, const QString& directory,
                     int showCommand) override;
    // Recorded as an "open"; a failing result is reported through onFailure at once.
    int OpenPage(const QString& address, std::function<void(int code)> onFailure) override;
    int PrintFile(const QString& file, const QString& printer, int copies) override;
    bool StartProgram(const QString& program, const QStringList& arguments, int showCommand) override;

    QList<Call> calls;
    int result = 42; // returned by ShellExecute and PrintFile
};

// A settable clock, a printer dialog with a scripted choice and a count of hourglass calls.
class FakeDesktop : public Desktop
{
public:
    FakeDesktop() { Seam<Desktop>::set(this); } // installs itself
    ~FakeDesktop() override { Seam<Desktop>::set(nullptr); }

    QDateTime Now() override { return now; }
    void SetHourglass(bool busy) override;
    bool ChoosePrinter(PrinterChoice& choice) override;
    void Notify(const QString& title, const QString& text, QWidget*) override { notices << title + "|" + text; }

    QDateTime now = QDateTime(QDate(2026, 2, 3), QTime(13, 5, 9));
    int busyDepth = 0; // 0 again when every hourglass was restored
    int hourglassShown = 0;
    bool printerAccepted = true;
    PrinterChoice printerChoice{QStringLiteral("TestPrinter"), 1, QString()};
    QStringList notices; // "title|text" of each notice given without a box
};
