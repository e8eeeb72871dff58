#pragma once

#include <QByteArray>
#include <QList>
#include <QTest>

// Runs several QtTest classes in one executable, one after another; non-zero when any failed.
// With $QUILL_TEST_LOG_DIR each class also logs into <dir>/<class>.txt (under Wine the plain
// log on standard output is lost; scripts/windows-run.sh shows these files instead).
template <class... Tests>
int RunTests(int argc, char** argv)
{
    int status = 0;
    const QByteArray logDir = qgetenv("QUILL_TEST_LOG_DIR");
    const auto runOne = [&](auto&& test) {
        if (logDir.isEmpty()) {
            status |= QTest::qExec(&test, argc, argv);
            return;
        }
        QList<QByteArray> extra{"-o", logDir + '/' + test.metaObject()->className() + ".txt,txt"};
        QList<char*> args(argv, argv + argc);
        for (QByteArray& arg : extra)
            args.append(arg.data());
        status |= QTest::qExec(&test, int(args.size()), args.data());
    };
    (runOne(Tests()), ...);
    return status;
}

// For programs that run each test class through a function of their own (its qExec inside):
// with $QUILL_TEST_LOG_DIR that class logs into <dir>/run<index>.txt, so one class's log does
// not replace another's.
inline int RunLogged(int (*run)(int, char**), int index, int argc, char** argv)
{
    const QByteArray logDir = qgetenv("QUILL_TEST_LOG_DIR");
    if (logDir.isEmpty())
        return run(argc, argv);
    QList<QByteArray> extra{"-o", logDir + "/run" + QByteArray::number(index) + ".txt,txt"};
    QList<char*> args(argv, argv + argc);
    for (QByteArray& arg : extra)
        args.append(arg.data());
    return run(int(args.size()), args.data());
}
