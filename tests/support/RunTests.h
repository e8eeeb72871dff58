#pragma once

#include <QApplication>
#include <QByteArray>
#include <QTest>

// For programs that run each test class through a function of their own (its qExec inside):
// with $QUILL_TEST_LOG_DIR that class logs into <dir>/<name>.txt (under Wine the plain log on
// standard output is lost; scripts/windows-run.sh shows these files instead).
template <class Run>
int RunLogged(Run run, const QByteArray& name, int argc, char** argv)
{
    const QByteArray logDir = qgetenv("QUILL_TEST_LOG_DIR");
    if (logDir.isEmpty())
        return run(argc, argv);
    QByteArray option = "-o", file = logDir + '/' + name + ".txt,txt";
    QList<char*> args(argv, argv + argc);
    args << option.data() << file.data();
    return run(int(args.size()), args.data());
}

inline int RunLogged(int (*run)(int, char**), int index, int argc, char** argv)
{
    return RunLogged(run, "run" + QByteArray::number(index), argc, argv);
}

// Runs several QtTest classes in one executable, one after another; non-zero when any failed.
template <class... Tests>
int RunTests(int argc, char** argv)
{
    int status = 0;
    const auto runOne = [&](auto&& test) {
        const auto run = [&](int n, char** v) { return QTest::qExec(&test, n, v); };
        status |= RunLogged(run, test.metaObject()->className(), argc, argv);
    };
    (runOne(Tests()), ...);
    return status;
}

// QTEST_MAIN for one class, with the log files above.
#define QUILL_TEST_MAIN(TestClass)              \
    int main(int argc, char** argv)             \
    {                                           \
        QApplication app(argc, argv);           \
        return RunTests<TestClass>(argc, argv); \
    }
