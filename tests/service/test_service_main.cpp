#include <QApplication>

int runActionsTest(int argc, char** argv);
int runReportTest(int argc, char** argv);
int runTransportTest(int argc, char** argv);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int actions = runActionsTest(argc, argv);
    const int report = runReportTest(argc, argv);
    return actions | report | runTransportTest(argc, argv);
}
