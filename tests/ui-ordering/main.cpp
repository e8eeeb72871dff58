#include "RunTests.h"

#include <QApplication>

int runButtonTests(int argc, char** argv);
int runFrmMainTests(int argc, char** argv);
int runCheckExistingTests(int argc, char** argv);
int runStatusTests(int argc, char** argv);
int runPullTests(int argc, char** argv);
int runReportCommandTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int status = 0;
    int index = 0;
    for (auto run : {runButtonTests, runFrmMainTests, runCheckExistingTests, runStatusTests,
                     runReportCommandTests, runPullTests})
        status |= RunLogged(run, index++, argc, argv);
    return status;
}
