#include "RunTests.h"

#include <QApplication>

int runParamsTest(int argc, char** argv);
int runActionsTest(int argc, char** argv);
int runReportTest(int argc, char** argv);
int runTransportTest(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int params = RunLogged(runParamsTest, 0, argc, argv);
    const int actions = RunLogged(runActionsTest, 1, argc, argv);
    const int report = RunLogged(runReportTest, 2, argc, argv);
    return params | actions | report | RunLogged(runTransportTest, 3, argc, argv);
}
