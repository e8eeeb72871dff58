#include "RunTests.h"

#include <QApplication>

int runActionsTest(int argc, char** argv);
int runReportTest(int argc, char** argv);
int runTransportTest(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int actions = RunLogged(runActionsTest, 0, argc, argv);
    const int report = RunLogged(runReportTest, 1, argc, argv);
    return actions | report | RunLogged(runTransportTest, 2, argc, argv);
}
