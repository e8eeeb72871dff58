#include "OrderingKit.h"

int runStatusTests(int argc, char** argv);
int runPullTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int status = RunTests<OrderingTests>(argc, argv);
    status |= RunLogged(runStatusTests, 1, argc, argv);
    status |= RunLogged(runPullTests, 2, argc, argv);
    return status;
}
