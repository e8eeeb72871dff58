#pragma once

#include <QString>

#include <memory>

class LoanSession;
class clsInquiry;

// The main window's View, Print and Import commands for the loan's current report: its ID, its
// loan and its downloaded PDF come from the loan's session, which keeps the PDF's path.
class ReportCommands
{
public:
    explicit ReportCommands(LoanSession& session);

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
    // The PDF of this run; downloads it when there is none yet. Empty when the user closed the wait.
    QString reportPdf();
    void importLiabilities(QString& file, QString& step);

    QString m_reportUid;
    std::shared_ptr<clsInquiry> m_inquiry;
    LoanSession& m_session;
};
