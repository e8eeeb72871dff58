#include "test_host.h"

#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "host/basPdfFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTest>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

// The loan folder as the host writes it: backslashes, also off Windows.
QString hostPath(const TestEnv& env, const QString& file)
{
    return QString(env.path("loans")).replace('/', '\\') + '\\' + file;
}

// Creates each file with its own name as content; ages are minutes before a fixed moment.
void createPdfs(const TestEnv& env, const QMap<QString, int>& ages)
{
    const QDateTime base = QDateTime::currentDateTime().addDays(-1);
    for (auto it = ages.cbegin(); it != ages.cend(); ++it) {
        env.writeFile("loans/" + it.key(), it.key().toUtf8());
        QFile file(env.path("loans/" + it.key()));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(base.addSecs(-60 * it.value()), QFileDevice::FileModificationTime));
    }
}

// Every file of the loan folder with its content (the name it was created under).
QMap<QString, QString> folderContents(const TestEnv& env)
{
    QMap<QString, QString> contents;
    for (const QString& name : QDir(env.path("loans")).entryList(QDir::Files))
        contents[name] = QString::fromUtf8(env.readFile("loans/" + name));
    return contents;
}

// Holds exclusive locks on files the way another program holding them open would.
class Locks
{
public:
    bool take(const QString& path)
    {
#ifdef Q_OS_UNIX
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0)
            return false;
        m_fds << fd;
        return true;
#else
        Q_UNUSED(path);
        return false;
#endif
    }
    ~Locks()
    {
#ifdef Q_OS_UNIX
        for (int fd : m_fds)
            ::close(fd);
#endif
    }

private:
    QList<int> m_fds;
};

} // namespace

using Contents = QMap<QString, QString>;
using Ages = QMap<QString, int>;

void PdfCleanUpTest::keepsNewestUnderFirstFreeName_data()
{
    QTest::addColumn<QString>("loan");
    QTest::addColumn<Ages>("ages");
    QTest::addColumn<QStringList>("locked");
    QTest::addColumn<Contents>("after");

    QTest::newRow("newest renamed, older deleted, open one skipped") << "SMITH"
        << Ages{{"SMITH.pdf", 30}, {"SMITH1.pdf", 5}, {"SMITH2.pdf", 40}} << QStringList{"SMITH2.pdf"}
        << Contents{{"SMITH.pdf", "SMITH1.pdf"}, {"SMITH2.pdf", "SMITH2.pdf"}};
    QTest::newRow("plain name alone moves to 1") << "SMITH"
        << Ages{{"SMITH.pdf", 10}} << QStringList{}
        << Contents{{"SMITH1.pdf", "SMITH.pdf"}};
    QTest::newRow("several older deleted") << "SMITH"
        << Ages{{"SMITH.pdf", 50}, {"SMITH12.pdf", 20}, {"SMITH3.pdf", 1}} << QStringList{}
        << Contents{{"SMITH.pdf", "SMITH3.pdf"}};
    QTest::newRow("equal times: first in name order kept") << "SMITH"
        << Ages{{"SMITH1.pdf", 10}, {"SMITH2.pdf", 10}} << QStringList{}
        << Contents{{"SMITH.pdf", "SMITH1.pdf"}};
    QTest::newRow("other loans never touched") << "SMITH"
        << Ages{{"SMITH1.pdf", 30}, {"SMITHSON.pdf", 1}, {"SMITHSON1.pdf", 2}, {"SMITH-2.pdf", 3},
                {"XSMITH.pdf", 4}, {"SMITH1.pdf.bak", 5}, {"SMITH 2.pdf", 6}}
        << QStringList{}
        << Contents{{"SMITH.pdf", "SMITH1.pdf"}, {"SMITHSON.pdf", "SMITHSON.pdf"},
                    {"SMITHSON1.pdf", "SMITHSON1.pdf"}, {"SMITH-2.pdf", "SMITH-2.pdf"},
                    {"XSMITH.pdf", "XSMITH.pdf"}, {"SMITH1.pdf.bak", "SMITH1.pdf.bak"},
                    {"SMITH 2.pdf", "SMITH 2.pdf"}};
    QTest::newRow("only another loan's pdf") << "SMITH"
        << Ages{{"SMITHSON.pdf", 1}} << QStringList{}
        << Contents{{"SMITHSON.pdf", "SMITHSON.pdf"}};
    QTest::newRow("wildcard characters in the name are plain") << "A*B[1]"
        << Ages{{"A*B[1]2.pdf", 1}, {"AXB1.pdf", 2}, {"A*B[1].pdf", 3}} << QStringList{}
        << Contents{{"A*B[1].pdf", "A*B[1]2.pdf"}, {"AXB1.pdf", "AXB1.pdf"}};
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    QTest::newRow("letter case as the file system compares") << "SMITH"
        << Ages{{"smith1.PDF", 1}, {"SMITH.pdf", 2}} << QStringList{}
        << Contents{{"SMITH.pdf", "smith1.PDF"}};
#else
    QTest::newRow("letter case as the file system compares") << "SMITH"
        << Ages{{"smith1.pdf", 1}, {"SMITH2.PDF", 2}, {"SMITH3.pdf", 3}} << QStringList{}
        << Contents{{"smith1.pdf", "smith1.pdf"}, {"SMITH2.PDF", "SMITH2.PDF"}, {"SMITH.pdf", "SMITH3.pdf"}};
#endif
}

void PdfCleanUpTest::keepsNewestUnderFirstFreeName()
{
    QFETCH(QString, loan);
    QFETCH(Ages, ages);
    QFETCH(QStringList, locked);
    QFETCH(Contents, after);
    TestEnv env;
    ScriptedMsgBox boxes;
    createPdfs(env, ages);
    Locks locks;
    for (const QString& name : locked) {
        if (!locks.take(env.path("loans/" + name)))
            QSKIP("no exclusive file locks on this platform");
    }

    QVERIFY(CleanUpPdfFiles(hostPath(env, loan + ".QF"), loan));
    QCOMPARE(folderContents(env), after);
    QVERIFY(boxes.boxes.isEmpty());
}

void PdfCleanUpTest::missingFolderIsNothingToDo()
{
    TestEnv env;
    ScriptedMsgBox boxes;
    QVERIFY(CleanUpPdfFiles(hostPath(env, "SMITH.QF"), "SMITH"));
    QVERIFY(boxes.boxes.isEmpty());
    QVERIFY(!QFile::exists(env.path("errors.log")));
}

void PdfCleanUpTest::refusedWithoutTouchingFiles_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("logged");
    QTest::newRow("empty path") << "" << "SMITH" << "names no folder";
    QTest::newRow("path without a folder") << "SMITH.QF" << "SMITH" << "names no folder";
    QTest::newRow("name with a backslash") << "@" << "..\\loans\\SMITH" << "not a plain file name";
    QTest::newRow("name with a slash") << "@" << "sub/SMITH" << "not a plain file name";
    QTest::newRow("name with dot dot") << "@" << "SMITH..1" << "not a plain file name";
    QTest::newRow("empty name") << "@" << "" << "not a plain file name";
}

void PdfCleanUpTest::refusedWithoutTouchingFiles()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(QString, logged);
    TestEnv env;
    FakeDesktop desk;
    ScriptedMsgBox boxes;
    boxes.expect(vbOK);
    createPdfs(env, Ages{{"SMITH.pdf", 20}, {"SMITH1.pdf", 10}, {"1.pdf", 5}});
    const Contents before = folderContents(env);
    if (path == "@")
        path = hostPath(env, "SMITH.QF");

    QVERIFY(CleanUpPdfFiles(path, name));
    QCOMPARE(folderContents(env), before);
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].title, QString("Clean Up Problem"));
    QCOMPARE(boxes.boxes[0].icon(), int(vbExclamation));
    QCOMPARE(boxes.boxes[0].text, QString("There was a problem cleaning up old PDF files for this borrower."));
    const QString log = QString::fromLatin1(env.readFile("errors.log"));
    QVERIFY2(log.startsWith("Date: ") && log.contains(logged), qPrintable(log));
}

void PdfCleanUpTest::uniqueFileName_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("expected");
    QTest::newRow("free plain name") << QStringList{} << "SMITH.pdf";
    QTest::newRow("plain name taken") << QStringList{"SMITH.pdf"} << "SMITH1.pdf";
    QTest::newRow("first gap") << QStringList{"SMITH.pdf", "SMITH2.pdf"} << "SMITH1.pdf";
    QTest::newRow("past ten") << QStringList{"SMITH.pdf", "SMITH1.pdf", "SMITH2.pdf", "SMITH3.pdf", "SMITH4.pdf",
                                             "SMITH5.pdf", "SMITH6.pdf", "SMITH7.pdf", "SMITH8.pdf", "SMITH9.pdf",
                                             "SMITH10.pdf"}
                              << "SMITH11.pdf";
    QTest::newRow("other names ignored") << QStringList{"SMITHSON.pdf", "SMITH.txt"} << "SMITH.pdf";
}

void PdfCleanUpTest::uniqueFileName()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, expected);
    TestEnv env;
    for (const QString& name : existing)
        env.writeFile("loans/" + name, "x");
    QDir().mkpath(env.path("loans"));
    QCOMPARE(UniqueFileName(hostPath(env, QString()), "SMITH", "pdf"), env.path("loans/" + expected));
}
