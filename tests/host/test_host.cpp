// The host program's files: EXPORT.DAT and the loan's PDFs.

#include "RunTests.h"
#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "host/basPdfFiles.h"
#include "host/clsBorrower.h"
#include "host/clsQuill.h"
#include "platform/AppError.h"
#include "platform/TextFile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <tuple>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

class HostFilesTest : public QObject
{
    Q_OBJECT
private slots:
    void exportLayouts_data();
    void exportLayouts();
    void archiveCopy();
    void pdfCleanUp_data();
    void pdfCleanUp();
};

namespace {

using Ages = QMap<QString, int>;          // file name -> minutes old
using Contents = QMap<QString, QString>;  // file name -> content

// Creates each loan-folder file with its own name as content, aged in minutes before yesterday.
void createPdfs(const TestEnv& env, const Ages& ages)
{
    const QDateTime base = QDateTime::currentDateTime().addDays(-1);
    for (auto it = ages.cbegin(); it != ages.cend(); ++it) {
        env.writeFile("loans/" + it.key(), it.key().toUtf8());
        QFile file(env.path("loans/" + it.key()));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(base.addSecs(-60 * it.value()), QFileDevice::FileModificationTime));
    }
}

Contents folderContents(const TestEnv& env)
{
    Contents contents;
    for (const QString& name : QDir(env.path("loans")).entryList(QDir::Files))
        contents[name] = QString::fromUtf8(env.readFile("loans/" + name));
    return contents;
}


// An export line of n fields for JOHN Q SMITH JR with co-borrower M'ARY A D'OE SR: combined name
// fields up to 17 fields, separate name fields beyond. Every address field and the reference carry
// an apostrophe the reader drops; the loan file name keeps its own. LOANS stands for the loan folder.
QStringList exportFields(int n, const QString& coSsn = "987-65-4321")
{
    const bool longLayout = n > 17;
    QStringList fields{longLayout ? "SMITH" : "SMITH JR", longLayout ? "JOHN" : "JOHN Q", "123-45-6789",
                       longLayout ? "D'OE" : "D'OE SR", longLayout ? "M'ARY" : "M'ARY A", coSsn,
                       "12 O'HARA ST", "O'FALLON", "M'O", "6'3366", "9 O'AK AVE", "AUS'TIN", "T'X", "7870'1",
                       "LO O'NEIL", "O'SMITH", "LOANS\\O'SMITH.QF", "Q", "JR", "A'", "SR", "04/28/1978", "4/8/1980"};
    return fields.mid(0, n);
}

QByteArray line(const QStringList& fields)
{
    return TextFile::Encode(fields.join('\t')) + "\r\n";
}

// Last|first|middle|suffix|SSN|birth date; empty without an applicant.
QString person(const std::shared_ptr<clsBorrower>& b)
{
    return b ? QStringList{b->LastName(), b->FirstName(), b->MiddleInitial(), b->Suffix(), b->SSN(), b->DOB()}.join('|')
             : QString();
}

QString place(const std::shared_ptr<clsAddress>& a)
{
    return QStringList{a->Address1(), a->City(), a->State(), a->PostalCode()}.join('|');
}

} // namespace

// EXPORT.DAT's first line by its number of fields, and how reading it fails.
void HostFilesTest::exportLayouts_data()
{
    QTest::addColumn<QByteArray>("content");  // null: no file
    QTest::addColumn<QString>("borrower");    // as person()
    QTest::addColumn<QString>("co");
    QTest::addColumn<QString>("refused");     // a refused birth date|what the log keeps of it
    QTest::addColumn<QString>("failure");     // number|words of the failure
    const auto row = [](const QString& name, const QByteArray& content, const QString& borrower, const QString& co,
                        const QString& refused = QString(), const QString& failure = QString()) {
        QTest::newRow(qPrintable(name)) << content << borrower << co << refused << failure;
    };
    const QString john = "SMITH|JOHN|Q|JR|123456789|";
    const QString mary = "DOE|MARY|A|SR|987654321|";
    // Short layout: the combined names split, apostrophes dropped.
    for (const auto& [last, first, names] : QList<std::tuple<QString, QString, QString>>{
             {"SMITH, JR.", "JOHN Q.", "SMITH|JOHN|Q.|JR."}, {"SMITH III", "MARY ANN", "SMITH|MARY ANN||III"},
             {"VAN DYKE", "JOHN", "VAN DYKE|JOHN||"}, {" SMITH ,  JR", "JOHN  Q", "SMITH|JOHN|Q|JR"}, {"O'NEIL", "J'O", "ONEIL|JO||"}}) {
        QStringList fields = exportFields(17);
        fields[0] = fields[3] = last;
        fields[1] = fields[4] = first;
        row(last + ", " + first, line(fields), names + "|123456789|", names + "|987654321|");
    }
    row("17 fields, co-borrower's names split", line(exportFields(17)), john, mary);
    row("17 fields, empty co SSN: no co-borrower despite names", line(exportFields(17, "")), john, "");
    row("17 fields, blank co SSN: co-borrower", line(exportFields(17, "   ")), john, "DOE|MARY|A|SR||");
    row("22 fields: names as written, borrower's birth date only", line(exportFields(22, "987654321")),
        john + "04/28/1978", "D'OE|M'ARY|A'|SR|987654321|");
    row("23 fields: both birth dates, the SSN's ASCII digits", line(exportFields(23, QString::fromUtf8(" 98a7\u0662\uFF136-54 321"))),
        john + "04/28/1978", "D'OE|M'ARY|A'|SR|987654321|4/8/1980");
    for (const auto& [dob, refused] : QList<QPair<QString, QString>>{{"", ""}, {" 4/8/1978 ", ""}, {"02/30/2001", "02/30/2001|*****2001"}}) {
        QStringList fields = exportFields(23);
        fields[21] = dob;
        row("birth date " + dob, line(fields), john + (refused.isEmpty() ? dob : ""), "D'OE|M'ARY|A'|SR|987654321|4/8/1980", refused);
    }
    // The first line only, in Windows-1252; the second would make a long layout with birth dates.
    const QByteArray first = line(exportFields(17)).replace("SMITH JR", "\x80 DUPR\xC9 JR").chopped(2);
    const QByteArray second = "\tQ\tJR\tA\tSR\t04/28/1978\t4/8/1980";
    for (const QByteArray& end : {"\r\n" + second + "\r\n", "\n" + second + "\n"})
        row("Windows-1252 line, then " + end.left(2).toHex(), first + end, QString::fromUtf8("€ DUPRÉ|JOHN|Q|JR|123456789|"), mary);
    row("missing file", QByteArray(), "", "", "", "53|File not found");
    row("empty file", "", "", "", "", "62|is empty");
    row("16 fields", line(exportFields(16, "")), "", "", "", "9|Field 16 is missing");
    row("18 fields, long layout", line(exportFields(18, "")), "", "", "", "9|Field 18 is missing");
    row("20 fields with co-borrower", line(exportFields(20, "1")), "", "", "", "9|Field 20 is missing");
}

void HostFilesTest::exportLayouts()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, borrower);
    QFETCH(QString, co);
    QFETCH(QString, refused);
    QFETCH(QString, failure);
    TestEnv env;
    FakeDesktop desk;
    ScriptedMsgBox boxes;
    const QString loans = QString(env.path("loans")).replace('/', '\\');
    const QString path = env.path("receive/EXPORT.DAT");
    if (!content.isNull())
        env.writeFile("receive/EXPORT.DAT", content.replace("LOANS", loans.toUtf8()));
    if (!failure.isEmpty()) {
        try {
            clsQuill().ReadQuillExportFile(path);
            QFAIL("the read did not fail");
        } catch (const AppError& error) {
            QCOMPARE(error.Number, failure.section('|', 0, 0).toLong());
            QVERIFY2(error.Description.contains(failure.section('|', 1)) && error.Description.contains(path),
                     qPrintable(error.Description));
        }
        return;
    }
    if (!refused.isEmpty())
        boxes.expect(vbOK);
    // Reading cleans up the loan's PDFs.
    createPdfs(env, Ages{{"O'SMITH.pdf", 2}, {"O'SMITH1.pdf", 1}, {"O'SMITHSON.pdf", 0}});
    const auto inquiry = clsQuill().ReadQuillExportFile(path);
    QCOMPARE(person(inquiry->Borrower()), borrower);
    QCOMPARE(person(inquiry->CoBorrower()), co);
    QCOMPARE(place(inquiry->Borrower()->CurrentAddress()) + "|" + place(inquiry->Borrower()->PreviousAddress()),
             QString("12 OHARA ST|OFALLON|MO|63366|9 OAK AVE|AUSTIN|TX|78701"));
    QCOMPARE((QStringList{inquiry->Reference(), inquiry->BorrowerFile(), inquiry->BorrowerFilePath()}),
             (QStringList{"LO ONEIL", "O'SMITH", loans + "\\O'SMITH.QF"}));
    QCOMPARE(inquiry->CreditRequest()->CreditRequestID() + " " + inquiry->CreditRequest()->RequestType(),
             borrower.section('|', 4, 4) + (co.isEmpty() ? " Individual" : " Joint"));
    QCOMPARE(folderContents(env), (Contents{{"O'SMITH.pdf", "O'SMITH1.pdf"}, {"O'SMITHSON.pdf", "O'SMITHSON.pdf"}}));
    // The user sees the refused date; the log keeps no more of it than the year.
    const QString message = "\r\n\r\nIncorrect format, please use Month / Day / Year format. No birth date will be used.";
    QCOMPARE(boxes.boxes.value(0).title + boxes.boxes.value(0).text,
             refused.isEmpty() ? "" : "Date ErrorError determining birth date: " + refused.section('|', 0, 0) + message);
    QCOMPARE(QString::fromLatin1(env.readFile("Client.log")), refused.isEmpty() ? "" : "[ 02.03.2026 13.05.09 ]  Error "
             "determining birth date: " + refused.section('|', 1) + message + "\r\nNot a date\r\n");
}

void HostFilesTest::archiveCopy()
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
        QCOMPARE(error.Number, ErrNo::PathNotFound);
        QVERIFY2(error.Description.contains("02032026_130509_EXPORT.DAT"), qPrintable(error.Description));
    }
    env.writeFile("archive/02032026_130509_EXPORT.DAT", "older copy of the same second");
    QCOMPARE(clsQuill::ArchiveExportFile(), env.path("archive/02032026_130509_EXPORT.DAT"));
    QCOMPARE(env.readFile("archive/02032026_130509_EXPORT.DAT"), QByteArray("export"));
    // Written whole: no temporary file is left beside the copy.
    QCOMPARE(QDir(env.path("archive")).entryList(QDir::Files | QDir::Hidden), QStringList{"02032026_130509_EXPORT.DAT"});
}

// The loan's PDFs: the newest is kept under the first free name, the others are deleted, one
// held open by another program is skipped. A path or name that could reach beyond the loan
// folder is refused with a box and a log entry, touching nothing.
void HostFilesTest::pdfCleanUp_data()
{
    QTest::addColumn<QString>("path");   // "@": the loan file in the loan folder
    QTest::addColumn<QString>("loan");
    QTest::addColumn<Ages>("ages");
    QTest::addColumn<QString>("locked");
    QTest::addColumn<Contents>("after");
    QTest::addColumn<QString>("logged");   // the refusal's log text; empty: no refusal
    const auto row = [](const QString& name, const QString& path, const QString& loan, const Ages& ages, const QString& locked,
                        const Contents& after, const QString& logged = QString()) {
        QTest::newRow(qPrintable(name)) << path << loan << ages << locked << after << logged;
    };
    row("older deleted, open one skipped, newest to the first free name", "@", "SMITH",
        {{"SMITH.pdf", 30}, {"SMITH1.pdf", 40}, {"SMITH12.pdf", 20}, {"SMITH2.pdf", 5}}, "SMITH.pdf",
        {{"SMITH.pdf", "SMITH.pdf"}, {"SMITH1.pdf", "SMITH2.pdf"}});
    row("plain name alone moves to 1", "@", "SMITH", {{"SMITH.pdf", 10}}, "", {{"SMITH1.pdf", "SMITH.pdf"}});
    row("other loans never touched", "@", "SMITH",
        {{"SMITH1.pdf", 30}, {"SMITHSON.pdf", 1}, {"SMITH-2.pdf", 3}, {"XSMITH.pdf", 4}, {"SMITH1.pdf.bak", 5}}, "",
        {{"SMITH.pdf", "SMITH1.pdf"}, {"SMITHSON.pdf", "SMITHSON.pdf"}, {"SMITH-2.pdf", "SMITH-2.pdf"}, {"XSMITH.pdf", "XSMITH.pdf"},
         {"SMITH1.pdf.bak", "SMITH1.pdf.bak"}});
    // Brackets: the wildcard (and pattern) characters a Windows file name can hold.
    row("wildcard characters in the name are plain", "@", "A[1]B", {{"A[1]B2.pdf", 1}, {"A1B1.pdf", 2}, {"A[1]B.pdf", 3}}, "",
        {{"A[1]B.pdf", "A[1]B2.pdf"}, {"A1B1.pdf", "A1B1.pdf"}});
    const Ages refused{{"SMITH.pdf", 20}, {"SMITH1.pdf", 10}, {"1.pdf", 5}};
    const Contents untouched{{"SMITH.pdf", "SMITH.pdf"}, {"SMITH1.pdf", "SMITH1.pdf"}, {"1.pdf", "1.pdf"}};
    row("empty path", "", "SMITH", refused, "", untouched, "names no folder");
    for (const QString& name : {"..\\loans\\SMITH", "sub/SMITH", "SMITH..1", ""})
        row("name " + name, "@", name, refused, "", untouched, "not a plain file name");
}

void HostFilesTest::pdfCleanUp()
{
    QFETCH(QString, path);
    QFETCH(QString, loan);
    QFETCH(Ages, ages);
    QFETCH(QString, locked);
    QFETCH(Contents, after);
    QFETCH(QString, logged);
    TestEnv env;
    FakeDesktop desk;
    ScriptedMsgBox boxes;
    if (!logged.isEmpty())
        boxes.expect(vbOK);
    createPdfs(env, ages);
#ifdef Q_OS_UNIX
    // Held exclusively, the way another program holding it open would.
    const int fd = locked.isEmpty() ? -1 : ::open(QFile::encodeName(env.path("loans/" + locked)).constData(), O_RDONLY);
    QVERIFY(locked.isEmpty() || ::flock(fd, LOCK_EX | LOCK_NB) == 0);
#else
    if (!locked.isEmpty())
        QSKIP("no exclusive file locks on this platform");
#endif
    // "@" names the loan file as the host writes it: backslashes, also off Windows.
    QVERIFY(CleanUpPdfFiles(path == "@" ? QString(env.path("loans/SMITH.QF")).replace('/', '\\') : path, loan));
#ifdef Q_OS_UNIX
    if (fd >= 0)
        ::close(fd);
#endif
    QCOMPARE(folderContents(env), after);
    QCOMPARE(boxes.boxes.value(0).title, QString(logged.isEmpty() ? "" : "Clean Up Problem"));
    const QString log = QString::fromLatin1(env.readFile("errors.log"));
    QVERIFY2(logged.isEmpty() ? log.isEmpty() : log.startsWith("Date: ") && log.contains(logged), qPrintable(log));
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return RunTests<HostFilesTest>(argc, argv);
}

#include "test_host.moc"
