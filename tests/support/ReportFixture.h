#pragma once

#include "TestEnv.h"

#include <QDir>
#include <QStringList>

// A loan ready for its report: fresh folders (TestEnv), WINQUILL.INI naming a host program
// folder and a data folder holding BORROWER/, settings for the demo user at the stand-in vendor
// server, polling it with short pauses.
class ReportFixture
{
public:
    static inline const QString ReportId = QStringLiteral("5A1E0002-0000-4000-8000-00000000D002");
    static inline const QString Password = QStringLiteral("Demo2026pass");
    // The recent demo loan as the host program exported it.
    static inline const QString LoanFilePath = QStringLiteral("C:\\QUILL\\DATA\\BORROWER\\SAMPLE.BRW");
    static inline const QString LoanFile = QStringLiteral("SAMPLE");

    explicit ReportFixture(const QString& serverUrl);

    TestEnv env;

    // The host program's folder, ending with "/", and its first data folder's BORROWER/.
    QString quillFolder() const { return QDir::cleanPath(env.home() + "/../quill") + "/"; }
    QString borrowerFolder() const { return quillFolder() + "data/BORROWER/"; }
    // An executable stand-in IMPORT.EXE in the host program's folder.
    void installImportProgram() const;
    // How many of the lines (request lines of the server) begin with start.
    static int CountStarting(const QStringList& lines, const QString& start);
};
