#include "RunTests.h"

#include <QApplication>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

int runActionsTest(int argc, char** argv);
int runReportTest(int argc, char** argv);
int runTransportTest(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
#ifndef Q_OS_WIN
    ::umask(022);   // the common default, under which new files are readable by all
#endif
    const int actions = RunLogged(runActionsTest, 0, argc, argv);
    const int report = RunLogged(runReportTest, 1, argc, argv);
    return actions | report | RunLogged(runTransportTest, 2, argc, argv);
}
