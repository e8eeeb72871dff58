#include "test_host.h"

#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "core/AppContext.h"
#include "core/CharRoutines.h"
#include "core/clsProperties.h"
#include "host/basDates.h"
#include "host/clsBorrower.h"
#include "host/clsQuill.h"
#include "platform/AppError.h"
#include "platform/HttpAnswer.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>

namespace {

// An export line of n fields for JOHN Q SMITH JR with co-borrower M'ARY A D'OE SR: combined name
// fields up to 17 fields, separate name fields beyond. Every address field and the reference carry
// an apostrophe the reader drops; the loan file name keeps its own. The loan folder does not exist.
QStringList exportFields(const TestEnv& env, int n, const QString& coSsn = "987-65-4321")
{
    const bool longLayout = n > 17;
    QStringList fields{longLayout ? "SMITH" : "SMITH JR", longLayout ? "JOHN" : "JOHN Q", "123-45-6789",
                       longLayout ? "D'OE" : "D'OE SR", longLayout ? "M'ARY" : "M'ARY A", coSsn,
                       "12 O'HARA ST", "O'FALLON", "M'O", "6'3366", "9 O'AK AVE", "AUS'TIN", "T'X", "7870'1",
                       "LO O'NEIL", "O'SMITH", hostPath(env, "O'SMITH.QF"),
                       "Q", "JR", "A'", "SR", "04/28/1978", "4/8/1980"};
    return fields.mid(0, n);
}

QByteArray encoded(const QStringList& fields)
{
    return TextFile::Encode(fields.join('\t')) + "\r\n";
}

std::shared_ptr<clsInquiry> readExport(const TestEnv& env, const QByteArray& bytes)
{
    env.writeFile("receive/EXPORT.DAT", bytes);
    return clsQuill().ReadQuillExportFile(env.path("receive/EXPORT.DAT"));
}

// Last, first, middle, suffix, SSN and birth date; empty without an applicant.
QStringList person(const std::shared_ptr<clsBorrower>& b)
{
    return b ? QStringList{b->LastName(), b->FirstName(), b->MiddleInitial(), b->Suffix(), b->SSN(), b->DOB()}
             : QStringList();
}

QStringList place(const std::shared_ptr<clsAddress>& a)
{
    return {a->Address1(), a->City(), a->State(), a->PostalCode()};
}

} // namespace

void ExportReaderTest::shortLayoutSplitsNames_data()
{
    QTest::addColumn<QString>("lastField");
    QTest::addColumn<QString>("firstField");
    QTest::addColumn<QStringList>("names");  // last, first, middle, suffix
    QTest::newRow("SMITH JR, JOHN Q") << "SMITH JR" << "JOHN Q" << QStringList{"SMITH", "JOHN", "Q", "JR"};
    QTest::newRow("comma and periods") << "SMITH, JR." << "JOHN Q." << QStringList{"SMITH", "JOHN", "Q.", "JR."};
    QTest::newRow("SMITH III, MARY ANN") << "SMITH III" << "MARY ANN" << QStringList{"SMITH", "MARY ANN", "", "III"};
    QTest::newRow("VAN DYKE stays whole") << "VAN DYKE" << "JOHN" << QStringList{"VAN DYKE", "JOHN", "", ""};
    QTest::newRow("DE LA O") << "DE LA O" << "JOHN Q" << QStringList{"DE LA", "JOHN", "Q", "O"};
    QTest::newRow("blanks around parts") << " SMITH ,  JR" << "JOHN  Q" << QStringList{"SMITH", "JOHN", "Q", "JR"};
}

void ExportReaderTest::shortLayoutSplitsNames()
{
    QFETCH(QString, lastField);
    QFETCH(QString, firstField);
    QFETCH(QStringList, names);
    TestEnv env;
    QStringList fields = exportFields(env, 17);
    fields[0] = fields[3] = lastField;
    fields[1] = fields[4] = firstField;
    const auto inquiry = readExport(env, encoded(fields));
    QCOMPARE(person(inquiry->Borrower()).mid(0, 4), names);
    QCOMPARE(person(inquiry->CoBorrower()).mid(0, 4), names);
}

void ExportReaderTest::fieldCountChoosesLayoutAndCoBorrower_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("coSsn");
    QTest::addColumn<QString>("dob");
    QTest::addColumn<QStringList>("co");  // as person()
    const QStringList shortCo{"DOE", "MARY", "A", "SR"};
    const QStringList longCo{"D'OE", "M'ARY", "A'", "SR"};
    QTest::newRow("17 fields: names split, apostrophes dropped") << 17 << "987-65-4321" << ""
                                                                 << shortCo + QStringList{"987654321", ""};
    QTest::newRow("17 fields, empty co ssn: no co-borrower despite names") << 17 << "" << "" << QStringList();
    QTest::newRow("17 fields, blank co ssn: co-borrower") << 17 << "   " << "" << shortCo + QStringList{"", ""};
    QTest::newRow("22 fields: names as written, borrower's birth date only")
        << 22 << "987654321" << "04/28/1978" << longCo + QStringList{"987654321", ""};
    QTest::newRow("23 fields: both birth dates") << 23 << "987654321" << "04/28/1978"
                                                 << longCo + QStringList{"987654321", "4/8/1980"};
    QTest::newRow("23 fields, no co-borrower") << 23 << "" << "04/28/1978" << QStringList();
}

void ExportReaderTest::fieldCountChoosesLayoutAndCoBorrower()
{
    QFETCH(int, n);
    QFETCH(QString, coSsn);
    QFETCH(QString, dob);
    QFETCH(QStringList, co);
    TestEnv env;
    const auto inquiry = readExport(env, encoded(exportFields(env, n, coSsn)));

    const auto borrower = inquiry->Borrower();
    QCOMPARE(person(borrower), (QStringList{"SMITH", "JOHN", "Q", "JR", "123456789", dob}));
    QCOMPARE(place(borrower->CurrentAddress()), (QStringList{"12 OHARA ST", "OFALLON", "MO", "63366"}));
    QCOMPARE(place(borrower->PreviousAddress()), (QStringList{"9 OAK AVE", "AUSTIN", "TX", "78701"}));
    QCOMPARE(inquiry->Reference(), QString("LO ONEIL"));
    QCOMPARE(inquiry->BorrowerFile(), QString("O'SMITH"));
    QCOMPARE(inquiry->BorrowerFilePath(), hostPath(env, "O'SMITH.QF"));
    QCOMPARE(inquiry->CreditRequest()->CreditRequestID(), QString("123456789"));
    QCOMPARE(inquiry->CreditRequest()->RequestType(), QString(co.isEmpty() ? "Individual" : "Joint"));
    QCOMPARE(person(inquiry->CoBorrower()), co);
}

void ExportReaderTest::ssnKeepsAsciiDigitsOnly()
{
    QCOMPARE(DigitsOnly(QString::fromUtf8(" 12-a3\t\u0662\uFF13 4")), QString("1234"));
}

void ExportReaderTest::firstLineReadAsWindows1252_data()
{
    QTest::addColumn<QByteArray>("after");
    // The second line would make a long layout with birth dates if it were read.
    const QByteArray second = "\tQ\tJR\tA\tSR\t04/28/1978\t4/8/1980";
    QTest::newRow("CR LF") << QByteArray("\r\n" + second + "\r\n");
    QTest::newRow("LF alone") << QByteArray("\n" + second + "\n");
    QTest::newRow("no line break") << QByteArray();
}

void ExportReaderTest::firstLineReadAsWindows1252()
{
    QFETCH(QByteArray, after);
    TestEnv env;
    QByteArray line = encoded(exportFields(env, 17)).chopped(2);  // without its CR LF
    line.replace("SMITH JR", "DUPR\xC9 JR").replace("LO O'NEIL", "\x80 DESK");
    const auto inquiry = readExport(env, line + after);
    QCOMPARE(person(inquiry->Borrower()),
             (QStringList{QString::fromUtf8("DUPRÉ"), "JOHN", "Q", "JR", "123456789", ""}));
    QCOMPARE(inquiry->Reference(), QString::fromUtf8("€ DESK"));
    QCOMPARE(inquiry->BorrowerFilePath(), hostPath(env, "O'SMITH.QF"));
}

// The code page on every system alike (the Windows Qt has no codec for it): each byte 0x80-0x9F
// against the code page's chart, the five it leaves undefined as in Latin-1; the host's files and
// a server answer naming the charset decode the same, and writing gives the byte back.
void ExportReaderTest::windows1252BothWays_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("decodesBack");   // false: the text has no byte, "?" is written
    const QString chart = QString::fromUtf8("€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ");
    for (int b = 0x80; b < 0xA0; ++b)
        QTest::addRow("0x%X", b) << QByteArray(1, char(b)) << QString(chart.at(b - 0x80)) << true;
    QTest::newRow("ASCII and Latin-1 above 0x9F") << QByteArray("A \xA0\xC9\xFF") << QString::fromUtf8("A \u00A0Éÿ") << true;
    QTest::newRow("Latin-1 controls are not the code page's") << QByteArray("??") << QString::fromUtf8("\u0080\u009F") << false;
}

void ExportReaderTest::windows1252BothWays()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, decodesBack);
    QCOMPARE(TextFile::Encode(text), bytes);
    if (!decodesBack)
        return;
    QCOMPARE(TextFile::Decode(bytes), text);
    QCOMPARE(DecodeAnswer(bytes, "text/plain; charset=Windows-1252"), text);
}

void ExportReaderTest::birthDateChecked_data()
{
    QTest::addColumn<QString>("dob");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("logged");   // the refused date in Client.log: at most its year
    // Which texts are dates is the date parser's table below.
    QTest::newRow("empty passes") << "" << true << "";
    QTest::newRow("blanks around") << " 4/8/1978 " << true << "";
    QTest::newRow("february 30") << "02/30/2001" << false << "*****2001";
    QTest::newRow("two-digit year") << "4/8/78" << false << "*****";
    QTest::newRow("words") << "April 8 1978" << false << "*****1978";
}

// Loading, showing and sending read dates alike: what loads is shown as MM/dd/yyyy.
void ExportReaderTest::oneDateParser_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");   // empty: not a date
    QTest::newRow("slashes") << "4/8/1978" << "04/08/1978";
    QTest::newRow("hyphens") << "2-3-1990" << "02/03/1990";
    QTest::newRow("blanks and tabs around") << " \t12-31-1999 " << "12/31/1999";
    QTest::newRow("time, 12-hour clock") << "12/05/2026 11:59:00 PM" << "12/05/2026";
    QTest::newRow("time, 24-hour clock") << "12/5/2026 23:59" << "12/05/2026";
    QTest::newRow("iso") << "2026-11-07" << "11/07/2026";
    QTest::newRow("iso with time") << "2026-11-07T08:30:00" << "11/07/2026";
    QTest::newRow("leap day") << "2/29/2024" << "02/29/2024";
    QTest::newRow("no leap day") << "2/29/2023" << "";
    QTest::newRow("13 PM") << "1/2/2026 13:00 PM" << "";
    QTest::newRow("month 13, day 45") << "13/45/1970" << "";
    QTest::newRow("words") << "April 8 1978" << "";
    QTest::newRow("minute 60") << "1/2/2026 10:60" << "";
    QTest::newRow("mixed separators") << "4/8-1978" << "";
    QTest::newRow("two-digit year") << "4/8/78" << "";
    QTest::newRow("five-digit year") << "4/8/19780" << "";
    QTest::newRow("day first iso order") << "1978/04/08" << "";
    QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0664/\u0668/1978") << "";
    QTest::newRow("empty") << "" << "";
}

void ExportReaderTest::oneDateParser()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(FormatDate(text), shown);
    QCOMPARE(clsBorrower::IsMonthDayYear(text), !shown.isEmpty());
}

void ExportReaderTest::birthDateChecked()
{
    QFETCH(QString, dob);
    QFETCH(bool, accepted);
    QFETCH(QString, logged);
    TestEnv env;
    FakeDesktop desk;
    ScriptedMsgBox boxes;
    if (!accepted)
        boxes.expect(vbOK);
    QStringList fields = exportFields(env, 23);
    fields[21] = dob;
    const auto inquiry = readExport(env, encoded(fields));

    QCOMPARE(inquiry->CoBorrower()->DOB(), QString("4/8/1980"));  // loading goes on either way
    if (accepted) {
        QCOMPARE(inquiry->Borrower()->DOB(), dob);
        QVERIFY(boxes.boxes.isEmpty());
        QCOMPARE(env.readFile("Client.log"), QByteArray());
        return;
    }
    const QString message = "\r\n\r\nIncorrect format, please use Month / Day / Year format. No birth date will be used.";
    QCOMPARE(inquiry->Borrower()->DOB(), QString());
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].title, QString("Date Error"));
    QCOMPARE(boxes.boxes[0].text, "Error determining birth date: " + dob + message);
    // The user sees the text; the log keeps no more of it than the year.
    QCOMPARE(QString::fromLatin1(env.readFile("Client.log")),
             "[ 02.03.2026 13.05.09 ]  Error determining birth date: " + logged + message + "\r\nNot a date\r\n");
}

void ExportReaderTest::failuresNameFileOrField_data()
{
    QTest::addColumn<QByteArray>("content");  // null: no file
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("words");
    TestEnv env;
    auto line = [&env](int n, const QString& coSsn) { return encoded(exportFields(env, n, coSsn)); };
    QTest::newRow("missing file") << QByteArray() << 53 << "File not found";
    QTest::newRow("empty file") << QByteArray("") << 62 << "is empty";
    QTest::newRow("16 fields") << line(16, "") << 9 << "Field 16 is missing";
    QTest::newRow("18 fields, long layout") << line(18, "") << 9 << "Field 18 is missing";
    QTest::newRow("20 fields with co-borrower") << line(20, "1") << 9 << "Field 20 is missing";
}

void ExportReaderTest::failuresNameFileOrField()
{
    QFETCH(QByteArray, content);
    QFETCH(int, number);
    QFETCH(QString, words);
    TestEnv env;
    const QString path = env.path("receive/EXPORT.DAT");
    try {
        content.isNull() ? clsQuill().ReadQuillExportFile(path) : readExport(env, content);
        QFAIL("the read did not fail");
    } catch (const AppError& error) {
        QCOMPARE(error.Number, long(number));
        QVERIFY2(error.Description.contains(words), qPrintable(error.Description));
        QVERIFY2(error.Description.contains(path), qPrintable(error.Description));
    }
}

void ExportReaderTest::archiveCopy()
{
    TestEnv env;
    FakeDesktop desk;
    env.freshProps();
    Props().setReceiveDir(env.path("receive/"));
    Props().setArchiveDir(env.path("archive/"));
    env.writeFile("receive/EXPORT.DAT", "export");
    try {
        clsQuill::ArchiveExportFile();
        QFAIL("copying into a missing archive folder did not fail");
    } catch (const AppError& error) {
        QVERIFY2(error.Description.contains("02032026_130509_EXPORT.DAT"), qPrintable(error.Description));
        QCOMPARE(error.Number, ErrNo::PathNotFound);
    }

    env.writeFile("archive/02032026_130509_EXPORT.DAT", "older copy of the same second");
    QCOMPARE(clsQuill::ArchiveExportFile(), env.path("archive/02032026_130509_EXPORT.DAT"));
    QCOMPARE(env.readFile("archive/02032026_130509_EXPORT.DAT"), QByteArray("export"));
    QCOMPARE(env.readFile("receive/EXPORT.DAT"), QByteArray("export"));

    // A copy that fails half-way (the source cannot be read) keeps the earlier copy of the same
    // name and leaves no partial file beside it.
#ifndef Q_OS_LINUX
    QSKIP("a file that fails half-way through reading is made from /proc/self/mem, on Linux only");
#endif
    QVERIFY(QFile::remove(env.path("receive/EXPORT.DAT")));
    QVERIFY(QFile::link("/proc/self/mem", env.path("receive/EXPORT.DAT")));
    try {
        clsQuill::ArchiveExportFile();
        QFAIL("copying an unreadable file did not fail");
    } catch (const AppError& error) {
        QVERIFY2(error.Description.contains("EXPORT.DAT"), qPrintable(error.Description));
    }
    QCOMPARE(env.readFile("archive/02032026_130509_EXPORT.DAT"), QByteArray("export"));
    QCOMPARE(QDir(env.path("archive")).entryList(QDir::Files | QDir::Hidden), QStringList{"02032026_130509_EXPORT.DAT"});
}

void ExportReaderTest::readingCleansUpTheLoansPdfs()
{
    TestEnv env;
    createPdfs(env, Ages{{"O'SMITH.pdf", 2}, {"O'SMITH1.pdf", 1}, {"O'SMITHSON.pdf", 0}});
    readExport(env, encoded(exportFields(env, 17)));
    QCOMPARE(folderContents(env), (Contents{{"O'SMITH.pdf", "O'SMITH1.pdf"}, {"O'SMITHSON.pdf", "O'SMITHSON.pdf"}}));
}
