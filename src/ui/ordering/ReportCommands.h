#pragma once

#include "platform/Desktop.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class LoanSession;
class clsInquiry;
struct AppError;
struct ServiceOutcome;

// The main window's View, Print and Import commands for the loan's current report: its ID, its
// loan and its downloaded PDF come from the loan's session, which keeps the PDF's path.
//
// One object per command, a child of the window: it starts the command's request, carries on
// when the outcome arrives and deletes itself when the command has ended. Until then the
// hourglass shows and the session says that a request runs, so no report button starts another.
class ReportCommands : public QObject
{
public:
    ReportCommands(LoanSession& session, QObject* window);

    // Downloads the PDF unless this run already has it, then opens it with the desktop's viewer.
    void View();
    // Downloads as View does, lets the user choose a printer and prints on it. Cancelling the
    // printer dialog ends the command without a word.
    void Print();
    // Fetches the liabilities into IMPORT.DAT, starts the host's import program on it, keeps a
    // time-stamped copy in the archive folder and tells the user how to finish the import.
    void Import();

private:
    enum class Use { View, Print };
    void showOrPrint(Use use);
    void downloaded(Use use, const ServiceOutcome& outcome);
    void present(Use use, const QString& pdf);
    void imported(const ServiceOutcome& outcome);
    void handOver(const QString& file);
    void importProblem(const AppError& error, const QString& file);
    void finish();

    QString m_reportUid;
    std::shared_ptr<clsInquiry> m_inquiry;
    LoanSession& m_session;
    std::optional<HourglassCursor> m_hourglass;
    // Where the import has got to, for its error box.
    QString m_step;
};
