#include "test_host.h"

#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "app/AppContext.h"
#include "app/clsProperties.h"
#include "host/clsQuill.h"
#include "platform/AppError.h"
#include "platform/TextFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTest>

namespace {

// A loan path the way the host writes it, with backslashes, in a folder that does not exist
// (so the clean-up finds nothing to do).
QString loanPath(const TestEnv& env)
{
    return QString(env.path("loans")).replace('/', '\\') + "\\SMITH.QF";
}

// An export line of n fields for JOHN Q SMITH JR with co-borrower MARY A DOE SR: combined name
// fields up to 17 fields, separate name fields beyond.
QStringList exportFields(const TestEnv& env, int n, const QString& coSsn = "987-65-4321")
{
    const bool longLayout = n > 17;
    QStringList fields{longLayout ? "SMITH" : "SMITH JR", longLayout ? "JOHN" : "JOHN Q", "123-45-6789",
                       longLayout ? "DOE" : "DOE SR", longLayout ? "MARY" : "MARY A", coSsn,
                       "12 ELM ST", "DALLAS", "TX", "75001", "9 OAK AVE", "AUSTIN", "TX", "78701",
                       "LO BOB", "SMITH", loanPath(env),
                       "Q", "JR", "A", "SR", "04/28/1978", "4/8/1980"};
    while (fields.size() < n)
        fields << QString("extra%1").arg(fields.size());
    return fields.mid(0, n);
}

QString writeExport(const TestEnv& env, const QByteArray& bytes)
{
    env.writeFile("receive/EXPORT.DAT", bytes);
    return env.path("receive/EXPORT.DAT");
}

QString writeExport(const TestEnv& env, const QStringList& fields, const QByteArray& after = "\r\n")
{
    return writeExport(env, TextFile::Encode(fields.join('\t')) + after);
}

std::shared_ptr<clsInquiry> read(const QString& path)
{
    return clsQuill().ReadQuillExportFile(path);
}

} // namespace

void ExportReaderTest::shortLayoutSplitsNames_data()
{
    QTest::addColumn<QString>("lastField");
    QTest::addColumn<QString>("firstField");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("middle");
    QTest::newRow("SMITH JR, JOHN Q") << "SMITH JR" << "JOHN Q" << "SMITH" << "JR" << "JOHN" << "Q";
    QTest::newRow("comma and periods") << "SMITH, JR." << "JOHN Q." << "SMITH" << "JR." << "JOHN" << "Q.";
    QTest::newRow("SMITH III, MARY ANN") << "SMITH III" << "MARY ANN" << "SMITH" << "III" << "MARY ANN" << "";
    QTest::newRow("VAN DYKE stays whole") << "VAN DYKE" << "JOHN" << "VAN DYKE" << "" << "JOHN" << "";
    QTest::newRow("DE LA O") << "DE LA O" << "JOHN Q" << "DE LA" << "O" << "JOHN" << "Q";
    QTest::newRow("trailing comma dropped") << "SMITH," << "JOHN" << "SMITH" << "" << "JOHN" << "";
    QTest::newRow("apostrophes removed") << "O'BRIEN JR" << "D'ANN Q" << "OBRIEN" << "JR" << "DANN" << "Q";
    QTest::newRow("blanks around parts") << " SMITH ,  JR" << "JOHN  Q" << "SMITH" << "JR" << "JOHN" << "Q";
}

void ExportReaderTest::shortLayoutSplitsNames()
{
    QFETCH(QString, lastField);
    QFETCH(QString, firstField);
    QFETCH(QString, last);
    QFETCH(QString, suffix);
    QFETCH(QString, first);
    QFETCH(QString, middle);
    TestEnv env;
    QStringList fields = exportFields(env, 17);
    fields[0] = fields[3] = lastField;
    fields[1] = fields[4] = firstField;
    const auto inquiry = read(writeExport(env, fields));

    for (const auto& applicant : {inquiry->Borrower(), inquiry->CoBorrower()}) {
        QVERIFY(applicant);
        QCOMPARE(applicant->LastName(), last);
        QCOMPARE(applicant->Suffix(), suffix);
        QCOMPARE(applicant->FirstName(), first);
        QCOMPARE(applicant->MiddleInitial(), middle);
    }
}

void ExportReaderTest::fieldCountChoosesLayoutAndCoBorrower_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("coSsn");
    QTest::addColumn<bool>("coBorrower");
    QTest::addColumn<QString>("dob");
    QTest::addColumn<QString>("coDob");
    QTest::addColumn<QString>("storedCoSsn");
    QTest::newRow("17 fields, short layout") << 17 << "987-65-4321" << true << "" << "" << "987654321";
    QTest::newRow("17 fields, empty co ssn: no co-borrower despite names") << 17 << "" << false << "" << "" << "";
    QTest::newRow("17 fields, blank co ssn: co-borrower") << 17 << "   " << true << "" << "" << "";
    QTest::newRow("19 fields, no co-borrower") << 19 << "" << false << "" << "" << "";
    QTest::newRow("20 fields, co-borrower fields not read") << 20 << "" << false << "" << "" << "";
    QTest::newRow("21 fields with co-borrower") << 21 << "987654321" << true << "" << "" << "987654321";
    QTest::newRow("22 fields: borrower's birth date only") << 22 << "987654321" << true << "04/28/1978" << "" << "987654321";
    QTest::newRow("23 fields: both birth dates") << 23 << "987654321" << true << "04/28/1978" << "4/8/1980" << "987654321";
    QTest::newRow("23 fields, blank co ssn") << 23 << " " << true << "04/28/1978" << "4/8/1980" << "";
    QTest::newRow("23 fields, no co-borrower") << 23 << "" << false << "04/28/1978" << "" << "";
    QTest::newRow("26 fields: extra fields ignored") << 26 << "987654321" << true << "04/28/1978" << "4/8/1980" << "987654321";
}

void ExportReaderTest::fieldCountChoosesLayoutAndCoBorrower()
{
    QFETCH(int, n);
    QFETCH(QString, coSsn);
    QFETCH(bool, coBorrower);
    QFETCH(QString, dob);
    QFETCH(QString, coDob);
    QFETCH(QString, storedCoSsn);
    TestEnv env;
    const auto inquiry = read(writeExport(env, exportFields(env, n, coSsn)));

    const auto borrower = inquiry->Borrower();
    QCOMPARE(borrower->LastName(), QString("SMITH"));
    QCOMPARE(borrower->FirstName(), QString("JOHN"));
    QCOMPARE(borrower->MiddleInitial(), QString("Q"));
    QCOMPARE(borrower->Suffix(), QString("JR"));
    QCOMPARE(borrower->SSN(), QString("123456789"));
    QCOMPARE(borrower->DOB(), dob);
    QCOMPARE(borrower->CurrentAddress()->Address1(), QString("12 ELM ST"));
    QCOMPARE(borrower->CurrentAddress()->PostalCode(), QString("75001"));
    QCOMPARE(borrower->PreviousAddress()->City(), QString("AUSTIN"));
    QCOMPARE(borrower->PreviousAddress()->PostalCode(), QString("78701"));
    QCOMPARE(inquiry->Reference(), QString("LO BOB"));
    QCOMPARE(inquiry->BorrowerFile(), QString("SMITH"));
    QCOMPARE(inquiry->BorrowerFilePath(), loanPath(env));

    const auto request = inquiry->CreditRequest();
    QCOMPARE(request->RequestType(), QString(coBorrower ? "Joint" : "Individual"));
    QCOMPARE(request->CreditRequestID(), QString("123456789"));
    QCOMPARE(request->ActionType(), QString("Submit"));
    QCOMPARE(request->ReportType(), QString("Merge"));

    QCOMPARE(bool(inquiry->CoBorrower()), coBorrower);
    if (coBorrower) {
        const auto co = inquiry->CoBorrower();
        QCOMPARE(co->LastName(), QString("DOE"));
        QCOMPARE(co->FirstName(), QString("MARY"));
        QCOMPARE(co->MiddleInitial(), QString("A"));
        QCOMPARE(co->Suffix(), QString("SR"));
        QCOMPARE(co->SSN(), storedCoSsn);
        QCOMPARE(co->DOB(), coDob);
        QCOMPARE(co->CurrentAddress()->Address1(), QString());
    }
}

void ExportReaderTest::apostrophesRemovedByLayout_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("middle");
    QTest::newRow("short layout: names cleaned") << 17 << "OBRIEN" << "DANN" << "Q";
    QTest::newRow("long layout: names as written") << 23 << "O'BRIEN" << "D'ANN" << "Q'";
}

void ExportReaderTest::apostrophesRemovedByLayout()
{
    QFETCH(int, n);
    QFETCH(QString, last);
    QFETCH(QString, first);
    QFETCH(QString, middle);
    TestEnv env;
    QStringList fields = exportFields(env, n);
    fields[0] = n > 17 ? "O'BRIEN" : "O'BRIEN JR";
    fields[1] = n > 17 ? "D'ANN" : "D'ANN Q";
    fields[6] = "12 O'HARA ST";
    fields[7] = "O'FALLON";
    fields[10] = "1 O'NEAL RD";
    fields[12] = "I'L";
    fields[13] = "7'8701";
    fields[14] = "O'NEIL";
    fields[15] = "O'BRIEN";
    fields[16] = "C:\\LOANS\\O'BRIEN.QF";
    if (n > 17)
        fields[17] = "Q'";
    const auto inquiry = read(writeExport(env, fields));

    const auto borrower = inquiry->Borrower();
    QCOMPARE(borrower->LastName(), last);
    QCOMPARE(borrower->FirstName(), first);
    QCOMPARE(borrower->MiddleInitial(), middle);
    QCOMPARE(borrower->CurrentAddress()->Address1(), QString("12 OHARA ST"));
    QCOMPARE(borrower->CurrentAddress()->City(), QString("OFALLON"));
    QCOMPARE(borrower->PreviousAddress()->Address1(), QString("1 ONEAL RD"));
    QCOMPARE(borrower->PreviousAddress()->State(), QString("IL"));
    QCOMPARE(borrower->PreviousAddress()->PostalCode(), QString("78701"));
    QCOMPARE(inquiry->Reference(), QString("ONEIL"));
    QCOMPARE(inquiry->BorrowerFile(), QString("O'BRIEN"));
    QCOMPARE(inquiry->BorrowerFilePath(), QString("C:\\LOANS\\O'BRIEN.QF"));
}

void ExportReaderTest::onlyFirstLineCounts_data()
{
    QTest::addColumn<QByteArray>("after");
    // The second line would make a long layout with birth dates if it were read.
    const QByteArray second = "\tQ\tJR\tA\tSR\t04/28/1978\t4/8/1980";
    QTest::newRow("CR LF") << QByteArray("\r\n" + second + "\r\n");
    QTest::newRow("LF alone") << QByteArray("\n" + second + "\n");
    QTest::newRow("no line break") << QByteArray();
    QTest::newRow("blank lines after") << QByteArray("\r\n\r\n\r\n");
}

void ExportReaderTest::onlyFirstLineCounts()
{
    QFETCH(QByteArray, after);
    TestEnv env;
    const auto inquiry = read(writeExport(env, exportFields(env, 17), after));
    QCOMPARE(inquiry->BorrowerFilePath(), loanPath(env));
    QCOMPARE(inquiry->Borrower()->Suffix(), QString("JR"));
    QCOMPARE(inquiry->Borrower()->DOB(), QString());
}

void ExportReaderTest::windows1252LettersRead()
{
    TestEnv env;
    QByteArray line = TextFile::Encode(exportFields(env, 17).join('\t'));
    line.replace("SMITH JR", "DUPR\xC9 JR").replace("DALLAS", "MONTR\xC9" "AL").replace("LO BOB", "\x80 DESK");
    const auto inquiry = read(writeExport(env, line + "\r\n"));
    QCOMPARE(inquiry->Borrower()->LastName(), QString::fromUtf8("DUPRÉ"));
    QCOMPARE(inquiry->Borrower()->Suffix(), QString("JR"));
    QCOMPARE(inquiry->Borrower()->CurrentAddress()->City(), QString::fromUtf8("MONTRÉAL"));
    QCOMPARE(inquiry->Reference(), QString::fromUtf8("€ DESK"));
}

void ExportReaderTest::badBirthDateReportedAndLoadingGoesOn()
{
    TestEnv env;
    FakeDesktop desk;
    ScriptedMsgBox boxes;
    boxes.expect(vbOK);
    QStringList fields = exportFields(env, 23);
    fields[21] = "02/30/2001";
    const auto inquiry = read(writeExport(env, fields));

    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].title, QString("Date Error"));
    QVERIFY(boxes.boxes[0].text.startsWith("Error determining birth date: 02/30/2001\r\n\r\n"));
    QCOMPARE(inquiry->Borrower()->DOB(), QString());
    QCOMPARE(inquiry->Borrower()->LastName(), QString("SMITH"));
    QCOMPARE(inquiry->CoBorrower()->DOB(), QString("4/8/1980"));
    QVERIFY(env.readFile("Client.log").contains("02/30/2001"));
}

void ExportReaderTest::failuresNameFileOrField_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("words");
    TestEnv env;
    auto line = [&env](int n, const QString& coSsn) {
        return TextFile::Encode(exportFields(env, n, coSsn).join('\t')) + "\r\n";
    };
    QTest::newRow("missing file") << false << QByteArray() << 53 << "File not found";
    QTest::newRow("empty file") << true << QByteArray() << 62 << "is empty";
    QTest::newRow("line break only") << true << QByteArray("\r\n") << 9 << "Field 1 is missing";
    QTest::newRow("16 fields") << true << line(16, "") << 9 << "Field 16 is missing";
    QTest::newRow("18 fields, long layout") << true << line(18, "") << 9 << "Field 18 is missing";
    QTest::newRow("20 fields with co-borrower") << true << line(20, "1") << 9 << "Field 20 is missing";
}

void ExportReaderTest::failuresNameFileOrField()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);
    QFETCH(int, number);
    QFETCH(QString, words);
    TestEnv env;
    const QString path = exists ? writeExport(env, content) : env.path("receive/EXPORT.DAT");
    try {
        read(path);
        QFAIL("the read did not fail");
    } catch (const AppError& error) {
        QCOMPARE(error.Number, long(number));
        QVERIFY2(error.Description.contains(words), qPrintable(error.Description));
        QVERIFY2(error.Description.contains(path), qPrintable(error.Description));
    }
}

void ExportReaderTest::exportFileLocationAndArchiveCopy()
{
    TestEnv env;
    FakeDesktop desk;
    env.freshProps();
    Props().setReceiveDir(env.path("receive/"));
    Props().setArchiveDir(env.path("archive/"));
    const QByteArray bytes = TextFile::Encode(exportFields(env, 17).join('\t')) + "\r\n";
    env.writeFile("receive/EXPORT.DAT", bytes);

    QCOMPARE(clsQuill::ExportFilePath(), env.path("receive/EXPORT.DAT"));
    try {
        clsQuill::ArchiveExportFile();
        QFAIL("copying into a missing archive folder did not fail");
    } catch (const AppError& error) {
        QVERIFY2(error.Description.contains("02032026_130509_EXPORT.DAT"), qPrintable(error.Description));
    }

    QDir().mkpath(env.path("archive"));
    env.writeFile("archive/02032026_130509_EXPORT.DAT", "older copy of the same second");
    QCOMPARE(clsQuill::ArchiveExportFile(), env.path("archive/02032026_130509_EXPORT.DAT"));
    QCOMPARE(env.readFile("archive/02032026_130509_EXPORT.DAT"), bytes);
    QCOMPARE(env.readFile("receive/EXPORT.DAT"), bytes);
}

void ExportReaderTest::readingCleansUpTheLoansPdfs()
{
    TestEnv env;
    const QDateTime now = QDateTime::currentDateTime();
    const QStringList names{"SMITH.pdf", "SMITH1.pdf", "SMITHSON.pdf"};
    for (int i = 0; i < names.size(); ++i) {
        env.writeFile("loans/" + names[i], names[i].toLatin1());
        QFile file(env.path("loans/" + names[i]));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(now.addSecs(i * 60), QFileDevice::FileModificationTime));
    }
    read(writeExport(env, exportFields(env, 17)));

    QCOMPARE(QDir(env.path("loans")).entryList(QDir::Files), QStringList({"SMITH.pdf", "SMITHSON.pdf"}));
    QCOMPARE(env.readFile("loans/SMITH.pdf"), QByteArray("SMITH1.pdf"));
}
