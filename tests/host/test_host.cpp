// The host program's files: EXPORT.DAT, the loan's PDFs, WINQUILL.INI and Config.ini; its dates
// and its code page.

#include "RunTests.h"
#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "core/AppContext.h"
#include "core/clsConfig.h"
#include "core/clsProperties.h"
#include "host/basDates.h"
#include "host/basPdfFiles.h"
#include "host/clsBorrower.h"
#include "host/clsQuill.h"
#include "platform/AppError.h"
#include "platform/HttpAnswer.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

class HostFilesTest : public QObject
{
    Q_OBJECT
private slots:
    void exportLayouts_data();
    void exportLayouts();
    void oneDateParser_data();
    void oneDateParser();
    void archiveCopy();
    void pdfCleanUp_data();
    void pdfCleanUp();
    void winQuillValues_data();
    void winQuillValues();
    void windows1252BothWays_data();
    void windows1252BothWays();
};

namespace {

// The content (null: no file), the applicants as last|first|middle|suffix|SSN|birth date, a refused birth date|what
// the log keeps of it, the failure's number|words.
struct ExportRow {
    QByteArray content;
    QString borrower, co, refused, failure;
};

// The loan file's path ("@": in the loan folder), the PDFs ("name=minutes old"), the one held
// open, the folder afterwards ("name=content"), the refusal's log text (empty: no refusal).
struct PdfRow {
    QString path, loan, ages, locked, after, logged;
};

// The keys of [directories] (null: no WINQUILL.INI at all), the program folder, the data folders.
struct IniRow {
    QByteArray keys;
    QString application;
    QStringList folders;
};

// Creates each loan-folder file ("name=minutes", "name=minutes=empty") with its own name as
// content or none, aged in minutes before yesterday. On Unix also "name=minutes=link", a link to
// such a file of the user's elsewhere, and "name=0=pipe", a named pipe whose writer end stays open
// until the run ends, so that opening it to read does not block.
void createPdfs(const TestEnv& env, const QString& ages)
{
    const QDateTime base = QDateTime::currentDateTime().addDays(-1);
    for (const QString& age : ages.split(' ', Qt::SkipEmptyParts)) {
        const QString name = age.section('=', 0, 0);
        const QByteArray path = QFile::encodeName(env.path("loans/" + name));
#ifdef Q_OS_UNIX
        if (age.endsWith("=pipe")) {
            QVERIFY(::mkfifo(path.constData(), 0600) == 0 && ::open(path.constData(), O_RDWR | O_NONBLOCK) >= 0);
            continue;
        }
#endif
        const bool link = age.endsWith("=link");
        env.writeFile((link ? "own/" : "loans/") + name, age.endsWith("=empty") ? QByteArray() : name.toUtf8());
        QVERIFY(!link || QFile::link(env.path("own/" + name), env.path("loans/" + name)));
        QFile file(env.path("loans/" + name));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(base.addSecs(-60 * age.section('=', 1).toInt()), QFileDevice::FileModificationTime));
    }
}

// "name=content" of each file in the loan folder, in name order.
QString folderContents(const TestEnv& env)
{
    QStringList contents;
    for (const QString& name : QDir(env.path("loans")).entryList(QDir::Files))
        contents << name + "=" + QString::fromUtf8(env.readFile("loans/" + name));
    contents.sort();
    return contents.join(' ');
}

// An export line of n fields for JOHN Q SMITH JR with co-borrower M'ARY A D'OE SR: combined name
// fields up to 17 fields, separate name fields beyond. Every address field and the reference carry
// an apostrophe the reader drops; the loan file name keeps its own. LOANS stands for the loan folder.
QStringList exportFields(int n, const QString& coSsn = "987-65-4321")
{
    const bool longLayout = n > 17;
    QStringList fields({longLayout ? "SMITH" : "SMITH JR", longLayout ? "JOHN" : "JOHN Q", "123-45-6789",
                        longLayout ? "D'OE" : "D'OE SR", longLayout ? "M'ARY" : "M'ARY A", coSsn});
    fields << QString("12 O'HARA ST|O'FALLON|M'O|6'3366|9 O'AK AVE|AUS'TIN|T'X|7870'1|LO O'NEIL|O'SMITH|"
                      "LOANS\\O'SMITH.QF|Q|JR|A'|SR|04/28/1978|4/8/1980")
                  .split('|');
    return fields.mid(0, n);
}

QByteArray line(const QStringList& fields)
{
    return TextFile::Encode(fields.join('\t')) + "\r\n";
}

} // namespace

// EXPORT.DAT's first line by its number of fields, and how reading it fails.
void HostFilesTest::exportLayouts_data()
{
    QTest::addColumn<ExportRow>("row");
    const auto row = [](const QString& name, const QByteArray& content, const QString& borrower, const QString& co,
                        const QString& refused = {}, const QString& failure = {}) {
        QTest::newRow(qPrintable(name)) << ExportRow{content, borrower, co, refused, failure};
    };
    const QString john = "SMITH|JOHN|Q|JR|123456789|";
    const QString mary = "DOE|MARY|A|SR|987654321|";
    const QString longMary = "D'OE|M'ARY|A'|SR|987654321|4/8/1980";
    // Short layout: the combined names split, apostrophes dropped.
    const auto names = [&](const QString& last, const QString& first, const QString& names) {
        QStringList fields = exportFields(17);
        fields[0] = fields[3] = last;
        fields[1] = fields[4] = first;
        row(last + ", " + first, line(fields), names + "|123456789|", names + "|987654321|");
    };
    names("SMITH, JR.", "JOHN Q.", "SMITH|JOHN|Q.|JR.");
    names("SMITH III", "MARY ANN", "SMITH|MARY ANN||III");
    names("VAN DYKE", "JOHN", "VAN DYKE|JOHN||");
    names(" SMITH ,  JR", "JOHN  Q", "SMITH|JOHN|Q|JR");
    row("17 fields, co-borrower's names split", line(exportFields(17)), john, mary);
    row("17 fields, empty co SSN: no co-borrower despite names", line(exportFields(17, "")), john, "");
    row("17 fields, blank co SSN: co-borrower", line(exportFields(17, "   ")), john, "DOE|MARY|A|SR||");
    row("22 fields: names as written, borrower's birth date only", line(exportFields(22, "987654321")),
        john + "04/28/1978", "D'OE|M'ARY|A'|SR|987654321|");
    row("23 fields: both birth dates, the SSN's ASCII digits",
        line(exportFields(23, QString::fromUtf8(" 98a7\u0662\uFF136-54 321"))), john + "04/28/1978", longMary);
    const auto birthDate = [&](const QString& dob, const QString& refused) {
        QStringList fields = exportFields(23);
        fields[21] = dob;
        row("birth date " + dob, line(fields), john + (refused.isEmpty() ? dob : ""), longMary, refused);
    };
    birthDate("", "");
    birthDate(" 4/8/1978 ", "");
    birthDate("02/30/2001", "02/30/2001|*****2001");
    // The first line only, in Windows-1252; the second would make a long layout with birth dates.
    const QByteArray first = line(exportFields(17)).replace("SMITH JR", "\x80 DUPR\xC9 JR").chopped(2);
    const QByteArray second = "\tQ\tJR\tA\tSR\t04/28/1978\t4/8/1980";
    for (const QByteArray& end : {"\r\n" + second + "\r\n", "\n" + second + "\n"})
        row("Windows-1252 line, then " + end.left(2).toHex(), first + end,
            QString::fromUtf8("€ DUPRÉ|JOHN|Q|JR|123456789|"), mary);
    row("missing file", QByteArray(), "", "", "", "53|File not found");
    row("a first line of megabytes", QByteArray(4 << 20, 'x') + "\r\n", "", "", "", "75|longer than 65536 bytes");
    row("empty file", "", "", "", "", "62|is empty");
    row("16 fields", line(exportFields(16, "")), "", "", "", "9|Field 16 is missing");
    row("18 fields, long layout", line(exportFields(18, "")), "", "", "", "9|Field 18 is missing");
    row("20 fields with co-borrower", line(exportFields(20, "1")), "", "", "", "9|Field 20 is missing");
}

void HostFilesTest::exportLayouts()
{
    QFETCH(ExportRow, row);
    auto& [content, borrower, co, refused, failure] = row;
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
    createPdfs(env, "O'SMITH.pdf=2 O'SMITH1.pdf=1 O'SMITHSON.pdf=0");
    const auto inquiry = clsQuill().ReadQuillExportFile(path);
    const auto person = [](const std::shared_ptr<clsBorrower>& b) { // empty without an applicant
        return b
            ? QStringList{b->LastName(), b->FirstName(), b->MiddleInitial(), b->Suffix(), b->SSN(), b->DOB()}.join('|')
            : QString();
    };
    const auto place = [](const std::shared_ptr<clsAddress>& a) {
        return QStringList{a->Address1(), a->City(), a->State(), a->PostalCode()};
    };
    QCOMPARE(person(inquiry->Borrower()), borrower);
    QCOMPARE(person(inquiry->CoBorrower()), co);
    QCOMPARE(place(inquiry->Borrower()->CurrentAddress()) + place(inquiry->Borrower()->PreviousAddress()),
             QString("12 OHARA ST|OFALLON|MO|63366|9 OAK AVE|AUSTIN|TX|78701").split('|'));
    QCOMPARE((QStringList{inquiry->Reference(), inquiry->BorrowerFile(), inquiry->BorrowerFilePath()}),
             (QStringList{"LO ONEIL", "O'SMITH", loans + "\\O'SMITH.QF"}));
    QCOMPARE(inquiry->CreditRequest()->CreditRequestID() + " " + inquiry->CreditRequest()->RequestType(),
             borrower.section('|', 4, 4) + (co.isEmpty() ? " Individual" : " Joint"));
    QCOMPARE(folderContents(env), "O'SMITH.pdf=O'SMITH1.pdf O'SMITHSON.pdf=O'SMITHSON.pdf");
    // The user sees the refused date; the log keeps no more of it than the year.
    const QString message = "Error determining birth date: %1\r\n\r\nIncorrect format, please use Month / Day / "
                            "Year format. No birth date will be used.";
    const QString shown = message.arg(refused.section('|', 0, 0)), logged = message.arg(refused.section('|', 1));
    QCOMPARE(boxes.boxes.value(0).title + boxes.boxes.value(0).text, refused.isEmpty() ? "" : "Date Error" + shown);
    QCOMPARE(QString::fromLatin1(env.readFile("Client.log")),
             refused.isEmpty() ? "" : "[ 02.03.2026 13.05.09 ]  " + logged + "\r\nNot a date\r\n");
}

// Loading, showing and sending read dates alike: what loads is shown as MM/dd/yyyy.
void HostFilesTest::oneDateParser_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown"); // empty: not a date
    // Slashes or hyphens, blanks around, a time on either clock, ISO with or without a time; a leap day.
    for (const QString& pair : {"4/8/1978=04/08/1978", "2-3-1990=02/03/1990", " \t12-31-1999 =12/31/1999",
                                "12/05/2026 11:59:00 PM=12/05/2026", "12/5/2026 23:59=12/05/2026",
                                "2026-11-07=11/07/2026", "2026-11-07T08:30:00=11/07/2026", "2/29/2024=02/29/2024"})
        QTest::newRow(qPrintable(pair)) << pair.section('=', 0, 0) << pair.section('=', 1);
    for (const QString& text : {"2/29/2023", "1/2/2026 13:00 PM", "1/2/2026 10:60", "April 8 1978", "4/8-1978",
                                "4/8/78", "4/8/19780", "1978/04/08", "2026-11-07T25:00:00", "\u0664/\u0668/1978", ""})
        QTest::newRow(qPrintable("not " + text)) << text << QString();
}

void HostFilesTest::oneDateParser()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(FormatDate(text), shown);
    QCOMPARE(clsBorrower::IsMonthDayYear(text), !shown.isEmpty());
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
    QCOMPARE(QDir(env.path("archive")).entryList(QDir::Files | QDir::Hidden),
             QStringList{"02032026_130509_EXPORT.DAT"});
}

// The loan's PDFs: the newest is kept under the first free name, the others are deleted, one
// held open by another program is skipped. A path or name that could reach beyond the loan
// folder is refused with a box and a log entry, touching nothing.
void HostFilesTest::pdfCleanUp_data()
{
    QTest::addColumn<PdfRow>("row");
    const auto row = [](const QString& name, const QString& path, const QString& loan, const QString& ages,
                        const QString& locked, const QString& after, const QString& logged = {}) {
        QTest::newRow(qPrintable(name)) << PdfRow{path, loan, ages, locked, after, logged};
    };
    row("older deleted, open one skipped, newest to the first free name", "@", "SMITH",
        "SMITH.pdf=30 SMITH1.pdf=40 SMITH12.pdf=20 SMITH2.pdf=5", "SMITH.pdf",
        "SMITH.pdf=SMITH.pdf SMITH1.pdf=SMITH2.pdf");
    row("the newest first by name", "@", "SMITH", "SMITH.pdf=5 SMITH2.pdf=30", "", "SMITH1.pdf=SMITH.pdf");
    row("an empty file (a save cut short) is never the newest", "@", "SMITH", "SMITH.pdf=30 SMITH1.pdf=5=empty", "",
        "SMITH1.pdf=SMITH.pdf");
    row("other loans never touched", "@", "SMITH",
        "SMITH1.pdf=30 SMITHSON.pdf=1 SMITH-2.pdf=3 XSMITH.pdf=4 SMITH1.pdf.bak=5", "",
        "SMITH-2.pdf=SMITH-2.pdf SMITH.pdf=SMITH1.pdf SMITH1.pdf.bak=SMITH1.pdf.bak SMITHSON.pdf=SMITHSON.pdf "
        "XSMITH.pdf=XSMITH.pdf");
    // Brackets: the wildcard (and pattern) characters a Windows file name can hold.
    row("wildcard characters in the name are plain", "@", "A[1]B", "A[1]B2.pdf=1 A1B1.pdf=2 A[1]B.pdf=3", "",
        "A1B1.pdf=A1B1.pdf A[1]B.pdf=A[1]B2.pdf");
    const QString refused = "SMITH.pdf=20 SMITH1.pdf=10 1.pdf=5";
    const QString untouched = "1.pdf=1.pdf SMITH.pdf=SMITH.pdf SMITH1.pdf=SMITH1.pdf";
    row("empty path", "", "SMITH", refused, "", untouched, "names no folder");
    // Names Windows keeps as something else: a stream of another file, a device, a name cut short.
    for (const QString& name :
         {"..\\loans\\SMITH", "sub/SMITH", "SMITH..1", "",    "SMITH:1", "NUL", "con.txt", "Com1", "LPT9.pdf", "AUX .x",
          "SMITH.",           "SMITH ",    "A<B",      "A>B", "A\"B",    "A|B", "A?B",     "A*B",  "A\tB",     "A\x1f"})
        row("name " + name, "@", name, refused, "", untouched, "not a plain file name");
#ifdef Q_OS_UNIX
    // Planted in a shared folder: neither is the loan's download, kept or deleted.
    row("a pipe and a link under the loan's name are left alone", "@", "SMITH",
        "SMITH.pdf=30 SMITH1.pdf=0=pipe SMITH2.pdf=1=link", "", "SMITH2.pdf=SMITH2.pdf SMITH3.pdf=SMITH.pdf");
#endif
    row("a device's name within a longer name is plain", "@", "CONSOLE", "CONSOLE.pdf=10 COM10.pdf=5", "",
        "COM10.pdf=COM10.pdf CONSOLE1.pdf=CONSOLE.pdf");
}

void HostFilesTest::pdfCleanUp()
{
    QFETCH(PdfRow, row);
    const auto& [path, loan, ages, locked, after, logged] = row;
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
    QVERIFY(!ages.contains("=pipe") || QFileInfo(env.path("loans/SMITH1.pdf")).exists());
    QCOMPARE(boxes.boxes.value(0).title, QString(logged.isEmpty() ? "" : "Clean Up Problem"));
    const QString log = QString::fromLatin1(env.readFile("errors.log"));
    QVERIFY2(logged.isEmpty() ? log.isEmpty() : log.startsWith("Date: ") && log.contains(logged), qPrintable(log));
}

// WINQUILL.INI's program and data folders, and Config.ini's values, as the host's configuration
// reads them: the profile rules (names in any case, blanks and one pair of quotes dropped,
// backslashes literal, comments and other sections skipped, the first match, the buffer's cut,
// Windows-1252) and the folder list's own.
void HostFilesTest::winQuillValues_data()
{
    QTest::addColumn<IniRow>("row");
    const auto row = [](const char* name, const QByteArray& keys, const QString& application,
                        const QStringList& folders = {}) {
        QTest::newRow(name) << IniRow{keys, application, folders};
    };
    row("no WINQUILL.INI", QByteArray(), "\\");
    row("backslash added", "Application=C:\\QUILL", "C:\\QUILL\\");
    row("backslash kept", "Application=C:\\QUILL\\", "C:\\QUILL\\");
    row("blanks trimmed", "Application =   C:\\DATA   ", "C:\\DATA\\");
    row("quoted, name in other case", "application=\"C:\\Q Q\"", "C:\\Q Q\\");
    // Found by fuzzing: NUL padding after a blank left the blank in the value.
    row("NUL padding after a blank", QByteArray("Application=C:\\Q \0\0\0", 20), "C:\\Q\\");
    row("comment skipped, backslashes literal", ";Application=C:\\NO\r\nApplication=C:\\n\\t\\x", "C:\\n\\t\\x\\");
    row("other section", "[Other]\r\nApplication=C:\\NO", "\\");
    row("Windows-1252", "Application=C:\\CAF\xC9", QString::fromUtf8("C:\\CAFÉ\\"));
    row("sentinel skipped", "Folder0=C:\\Q\\DATA\r\nFolder1=sentinel\r\nFolder2=D:\\SHARE\\", "\\",
        {"C:\\Q\\DATA\\", "D:\\SHARE\\"});
    row("gap ends the list", "Folder0=C:\\A\r\nFolder2=C:\\C", "\\", {"C:\\A\\"});
    row("no Folder0", "Folder1=C:\\B", "\\");
    row("first match wins", "FOLDER0=C:\\FIRST\r\nfolder0=C:\\SECOND", "\\", {"C:\\FIRST\\"});
    QByteArray all;
    QStringList hundred;
    for (int k = 0; k <= 100; ++k) {
        all += "Folder" + QByteArray::number(k) + "=C:\\F" + QByteArray::number(k) + "\r\n";
        hundred << QString("C:\\F%1\\").arg(k);
    }
    row("all 101 keys: the last finds no room", all, "\\", hundred.mid(0, 100));
    // Values are read through 150-character buffers, data folders through 100-character ones.
    row("long values cut", "Application=" + QByteArray(160, 'a') + "\r\nFolder0=" + QByteArray(160, 'f'),
        QString(149, 'a') + "\\", {QString(99, 'f') + "\\"});
}

void HostFilesTest::winQuillValues()
{
    QFETCH(IniRow, row);
    TestEnv env;
    if (!row.keys.isNull())
        env.writeFile(env.windows() + "/WINQUILL.INI",
                      "[Program Version]\r\nProgram=Quill\r\n[directories]\r\n" + row.keys + "\r\n");
    env.writeFile("Config.ini",
                  "[Interface]\r\nServerIP= 10.0.0.1 \r\nCompany=\"ACME\"\r\nusername=u\r\nPassword=p\r\n");
    const clsConfig config;
    QCOMPARE(config.sQuillAppTitle() + "|" + config.sQuillAppPath(),
             (row.keys.isNull() ? "|" : "Quill|") + row.application);
    QCOMPARE(config.nQuillFolderCount(), qint16(row.folders.size()));
    for (int i = 0; i <= row.folders.size() + 1; ++i)
        QCOMPARE(config.QuillAppDataFolder(qint16(i)), i == 0 ? QString() : row.folders.value(i - 1));
    QCOMPARE(config.sConfigServerIP() + "|" + config.sConfigCompany() + "|" + config.sConfigUsername() + "|"
                 + config.sConfigPassword(),
             "10.0.0.1|ACME|u|p");
}

// The code page on every system alike (the Windows Qt has no codec for it): each byte 0x80-0x9F
// against the code page's chart, the five it leaves undefined as in Latin-1; the host's files and
// a server answer naming the charset decode the same, and writing gives the byte back.
void HostFilesTest::windows1252BothWays_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QString chart = QString::fromUtf8("€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F" // 0x80 to 0x8F
                                            "\u0090‘’“”•–—˜™š›œ\u009DžŸ");
    for (int b = 0x80; b < 0xA0; ++b)
        QTest::addRow("0x%X", b) << QByteArray(1, char(b)) << QString(chart.at(b - 0x80));
    QTest::newRow("a control, ASCII, Latin-1 above 0x9F") << QByteArray("\x01"
                                                                        "A \xA0\xC9\xFF")
                                                          << QChar(1) + QString::fromUtf8("A \u00A0Éÿ");
    // Characters without a byte: Latin-1 controls the code page uses otherwise, a surrogate pair;
    // the zero-width no-break space is left out.
    QTest::newRow("no byte: \"?\"") << QByteArray("???") << QString::fromUtf8("\u0080\uFEFF\u009F😀");
}

void HostFilesTest::windows1252BothWays()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(TextFile::Encode(text), bytes);
    if (bytes.contains('?')) // written as "?", never read back as the character
        return;
    QCOMPARE(TextFile::Decode(bytes), text);
    QCOMPARE(DecodeAnswer(bytes, "text/plain; charset=Windows-1252"), text);
}

QUILL_TEST_MAIN(HostFilesTest)

#include "test_host.moc"
