#include <QApplication>

int runParamsTest(int argc, char** argv);
int runActionsTest(int argc, char** argv);
int runReportTest(int argc, char** argv);
int runTransportTest(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int params = runParamsTest(argc, argv);
    const int actions = runActionsTest(argc, argv);
    const int report = runReportTest(argc, argv);
    return params | actions | report | runTransportTest(argc, argv);
}
