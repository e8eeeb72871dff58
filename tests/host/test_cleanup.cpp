#include "test_host.h"

#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "host/basPdfFiles.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace {

// Holds exclusive locks on files the way another program holding them open would.
struct Locks
{
    QList<int> fds;
#ifdef Q_OS_WIN
    QList<HANDLE> handles;
#endif
    bool take(const QString& path)
    {
#ifdef Q_OS_UNIX
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        if (fd >= 0)
            fds << fd;
        return fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
#elif defined(Q_OS_WIN)
        // Opened sharing nothing: how a program holding a file on Windows keeps it to itself.
        const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
                                          GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE)
            handles << handle;
        return handle != INVALID_HANDLE_VALUE;
#else
        Q_UNUSED(path);
        return false;
#endif
    }
    // Lets go of the files (on Windows a file held this way cannot even be read).
    void release()
    {
#ifdef Q_OS_UNIX
        for (int fd : fds)
            ::close(fd);
#elif defined(Q_OS_WIN)
        for (HANDLE handle : handles)
            CloseHandle(handle);
        handles.clear();
#endif
        fds.clear();
    }
    ~Locks() { release(); }
};

} // namespace

void PdfCleanUpTest::keepsNewestUnderFirstFreeName_data()
{
    QTest::addColumn<QString>("loan");
    QTest::addColumn<Ages>("ages");
    QTest::addColumn<QStringList>("locked");
    QTest::addColumn<Contents>("after");

    QTest::newRow("older deleted, open one skipped, newest to the first free name") << "SMITH"
        << Ages{{"SMITH.pdf", 30}, {"SMITH1.pdf", 40}, {"SMITH12.pdf", 20}, {"SMITH2.pdf", 5}}
        << QStringList{"SMITH.pdf"} << Contents{{"SMITH.pdf", "SMITH.pdf"}, {"SMITH1.pdf", "SMITH2.pdf"}};
    QTest::newRow("plain name alone moves to 1") << "SMITH" << Ages{{"SMITH.pdf", 10}} << QStringList{}
                                                 << Contents{{"SMITH1.pdf", "SMITH.pdf"}};
    QTest::newRow("equal times: first in name order kept") << "SMITH"
        << Ages{{"SMITH1.pdf", 10}, {"SMITH2.pdf", 10}} << QStringList{} << Contents{{"SMITH.pdf", "SMITH1.pdf"}};
    QTest::newRow("other loans never touched") << "SMITH"
        << Ages{{"SMITH1.pdf", 30}, {"SMITHSON.pdf", 1}, {"SMITH-2.pdf", 3}, {"XSMITH.pdf", 4}, {"SMITH1.pdf.bak", 5}}
        << QStringList{}
        << Contents{{"SMITH.pdf", "SMITH1.pdf"}, {"SMITHSON.pdf", "SMITHSON.pdf"}, {"SMITH-2.pdf", "SMITH-2.pdf"},
                    {"XSMITH.pdf", "XSMITH.pdf"}, {"SMITH1.pdf.bak", "SMITH1.pdf.bak"}};
    QTest::newRow("only another loan's pdf") << "SMITH" << Ages{{"SMITHSON.pdf", 1}} << QStringList{}
                                             << Contents{{"SMITHSON.pdf", "SMITHSON.pdf"}};
    QTest::newRow("no loan folder") << "SMITH" << Ages{} << QStringList{} << Contents{};
    // Brackets: the wildcard (and pattern) characters a Windows file name can hold.
    QTest::newRow("wildcard characters in the name are plain") << "A[1]B"
        << Ages{{"A[1]B2.pdf", 1}, {"A1B1.pdf", 2}, {"A[1]B.pdf", 3}} << QStringList{}
        << Contents{{"A[1]B.pdf", "A[1]B2.pdf"}, {"A1B1.pdf", "A1B1.pdf"}};
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    QTest::newRow("letter case as the file system compares") << "SMITH"
        << Ages{{"smith1.PDF", 1}, {"SMITH.pdf", 2}} << QStringList{} << Contents{{"SMITH.pdf", "smith1.PDF"}};
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
    locks.release();
    QCOMPARE(folderContents(env), after);
    QVERIFY(boxes.boxes.isEmpty());
}

void PdfCleanUpTest::refusedWithoutTouchingFiles_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("logged");
    QTest::newRow("empty path") << "" << "SMITH" << "names no folder";
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
    const QString log = QString::fromLatin1(env.readFile("errors.log"));
    QVERIFY2(log.startsWith("Date: ") && log.contains(logged), qPrintable(log));
}
