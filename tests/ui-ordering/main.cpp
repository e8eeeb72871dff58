#include "OrderingKit.h"

int runStatusTests(int argc, char** argv);
int runPullTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int status = 0;
    int index = 0;
    for (auto run : {RunTests<OrderingTests>, runStatusTests, runPullTests})
        status |= RunLogged(run, index++, argc, argv);
    return status;
}
