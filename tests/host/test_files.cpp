#include "test_host.h"

#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "core/clsConfig.h"
#include "host/basPdfFiles.h"
#include "platform/ProfileIni.h"

#ifdef Q_OS_UNIX
#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>
#endif

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
    QTest::newRow("older deleted, open one skipped, newest to the first free name") << "@" << "SMITH"
        << Ages{{"SMITH.pdf", 30}, {"SMITH1.pdf", 40}, {"SMITH12.pdf", 20}, {"SMITH2.pdf", 5}}
        << "SMITH.pdf" << Contents{{"SMITH.pdf", "SMITH.pdf"}, {"SMITH1.pdf", "SMITH2.pdf"}} << "";
    QTest::newRow("plain name alone moves to 1") << "@" << "SMITH" << Ages{{"SMITH.pdf", 10}} << ""
                                                 << Contents{{"SMITH1.pdf", "SMITH.pdf"}} << "";
    QTest::newRow("equal times: first in name order kept") << "@" << "SMITH" << Ages{{"SMITH1.pdf", 10}, {"SMITH2.pdf", 10}}
                                                           << "" << Contents{{"SMITH.pdf", "SMITH1.pdf"}} << "";
    QTest::newRow("other loans never touched") << "@" << "SMITH"
        << Ages{{"SMITH1.pdf", 30}, {"SMITHSON.pdf", 1}, {"SMITH-2.pdf", 3}, {"XSMITH.pdf", 4}, {"SMITH1.pdf.bak", 5}} << ""
        << Contents{{"SMITH.pdf", "SMITH1.pdf"}, {"SMITHSON.pdf", "SMITHSON.pdf"}, {"SMITH-2.pdf", "SMITH-2.pdf"},
                    {"XSMITH.pdf", "XSMITH.pdf"}, {"SMITH1.pdf.bak", "SMITH1.pdf.bak"}} << "";
    QTest::newRow("no loan folder") << "@" << "SMITH" << Ages{} << "" << Contents{} << "";
    QTest::newRow("wildcard characters in the name are plain") << "@" << "A*B[1]"
        << Ages{{"A*B[1]2.pdf", 1}, {"AXB1.pdf", 2}, {"A*B[1].pdf", 3}} << ""
        << Contents{{"A*B[1].pdf", "A*B[1]2.pdf"}, {"AXB1.pdf", "AXB1.pdf"}} << "";
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    QTest::newRow("letter case as the file system compares") << "@" << "SMITH" << Ages{{"smith1.PDF", 1}, {"SMITH.pdf", 2}}
                                                             << "" << Contents{{"SMITH.pdf", "smith1.PDF"}} << "";
#else
    QTest::newRow("letter case as the file system compares") << "@" << "SMITH"
        << Ages{{"smith1.pdf", 1}, {"SMITH2.PDF", 2}, {"SMITH3.pdf", 3}} << ""
        << Contents{{"smith1.pdf", "smith1.pdf"}, {"SMITH2.PDF", "SMITH2.PDF"}, {"SMITH.pdf", "SMITH3.pdf"}} << "";
#endif
    const Ages refused{{"SMITH.pdf", 20}, {"SMITH1.pdf", 10}, {"1.pdf", 5}};
    const Contents untouched{{"SMITH.pdf", "SMITH.pdf"}, {"SMITH1.pdf", "SMITH1.pdf"}, {"1.pdf", "1.pdf"}};
    QTest::newRow("empty path") << "" << "SMITH" << refused << "" << untouched << "names no folder";
    for (const QString& name : {"..\\loans\\SMITH", "sub/SMITH", "SMITH..1", ""})
        QTest::newRow(qPrintable("name " + name)) << "@" << name << refused << "" << untouched << "not a plain file name";
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
    QVERIFY(CleanUpPdfFiles(path == "@" ? hostPath(env, "SMITH.QF") : path, loan));
#ifdef Q_OS_UNIX
    if (fd >= 0)
        ::close(fd);
#endif
    QCOMPARE(folderContents(env), after);
    QCOMPARE(boxes.boxes.value(0).title, QString(logged.isEmpty() ? "" : "Clean Up Problem"));
    const QString log = QString::fromLatin1(env.readFile("errors.log"));
    QVERIFY2(logged.isEmpty() ? log.isEmpty() : log.startsWith("Date: ") && log.contains(logged), qPrintable(log));
}

void HostFilesTest::winQuillValues_data()
{
    QTest::addColumn<QByteArray>("keys");  // of [Directories]; null: no WINQUILL.INI at all
    QTest::addColumn<QString>("application");
    QTest::addColumn<QStringList>("folders");
    QTest::newRow("no WINQUILL.INI") << QByteArray() << "\\" << QStringList();
    QTest::newRow("backslash added") << QByteArray("Application=C:\\QUILL") << "C:\\QUILL\\" << QStringList();
    QTest::newRow("backslash kept") << QByteArray("Application=C:\\QUILL\\") << "C:\\QUILL\\" << QStringList();
    QTest::newRow("blanks trimmed") << QByteArray("Application =   C:\\DATA   ") << "C:\\DATA\\" << QStringList();
    QTest::newRow("quoted") << QByteArray("application=\"C:\\Q Q\"") << "C:\\Q Q\\" << QStringList();
    // Found by fuzzing: NUL padding after a blank left the blank in the value.
    QTest::newRow("NUL padding after a blank") << QByteArray("Application=C:\\Q \0\0\0", 20) << "C:\\Q\\" << QStringList();
    QTest::newRow("sentinel skipped") << QByteArray("Folder0=C:\\Q\\DATA\r\nFolder1=sentinel\r\nFolder2=D:\\SHARE\\\r\n")
                                      << "\\" << QStringList{"C:\\Q\\DATA\\", "D:\\SHARE\\"};
    QTest::newRow("gap ends the list") << QByteArray("Folder0=C:\\A\r\nFolder2=C:\\C\r\n") << "\\" << QStringList{"C:\\A\\"};
    QTest::newRow("no Folder0") << QByteArray("Folder1=C:\\B\r\n") << "\\" << QStringList();
    QTest::newRow("first match wins") << QByteArray("FOLDER0=C:\\FIRST\r\nfolder0=C:\\SECOND\r\n") << "\\"
                                      << QStringList{"C:\\FIRST\\"};
    QByteArray all;
    QStringList hundred;
    for (int k = 0; k <= 100; ++k) {
        all += "Folder" + QByteArray::number(k) + "=C:\\F" + QByteArray::number(k) + "\r\n";
        if (k < 100)
            hundred << QString("C:\\F%1\\").arg(k);
    }
    QTest::newRow("all 101 keys: the last finds no room") << all << "\\" << hundred;
    // Values are read through 150-character buffers, data folders through 100-character ones.
    QTest::newRow("long values cut") << "Application=" + QByteArray(160, 'a') + "\r\nFolder0=" + QByteArray(160, 'f')
                                     << QString(149, 'a') + "\\" << QStringList{QString(99, 'f') + "\\"};
}

void HostFilesTest::winQuillValues()
{
    QFETCH(QByteArray, keys);
    QFETCH(QString, application);
    QFETCH(QStringList, folders);
    TestEnv env;
    if (!keys.isNull())
        env.writeFile(env.windows() + "/WINQUILL.INI", "[Program Version]\r\nProgram=Quill\r\n[directories]\r\n" + keys + "\r\n");
    clsConfig config;
    QCOMPARE(config.sQuillAppTitle(), QString(keys.isNull() ? "" : "Quill"));
    QCOMPARE(config.sQuillAppPath(), application);
    QCOMPARE(config.nQuillFolderCount(), qint16(folders.size()));
    for (int i = 0; i <= folders.size() + 1; ++i)
        QCOMPARE(config.QuillAppDataFolder(qint16(i)), i == 0 ? QString() : folders.value(i - 1));
}

// The profile reads of WINQUILL.INI and the program folder's Config.ini.
void HostFilesTest::profileRules_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("value");
    QTest::newRow("cut to buffer") << "[S]\r\nK=" + QByteArray(160, 'x') << QString(149, 'x');
    QTest::newRow("backslashes literal") << QByteArray("[S]\r\nK=C:\\n\\t\\x") << "C:\\n\\t\\x";
    QTest::newRow("names ignore case") << QByteArray("[s]\nk = v") << "v";
    QTest::newRow("comment ignored") << QByteArray("[S]\n;K=no\nK=yes") << "yes";
    QTest::newRow("other section") << QByteArray("[T]\nK=no\n[S]\nX=1") << "";
    QTest::newRow("Windows-1252") << QByteArray("[S]\r\nK=CAF\xC9") << QString::fromUtf8("CAFÉ");
}

void HostFilesTest::profileRules()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, value);
    TestEnv env;
    env.writeFile("p.ini", ini);
    QCOMPARE(GetPrivateProfileString("S", "K", "", 150, env.path("p.ini")), value);
    env.writeFile("Config.ini", "[Interface]\r\nServerIP= 10.0.0.1 \r\nCompany=ACME\r\nUsername=u\r\nPassword=p\r\n");
    clsConfig config;
    QCOMPARE((QStringList{config.sConfigServerIP(), config.sConfigCompany(), config.sConfigUsername(), config.sConfigPassword()}),
             (QStringList{"10.0.0.1", "ACME", "u", "p"}));
}
