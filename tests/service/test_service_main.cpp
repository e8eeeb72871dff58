#include "test_actions.h"
#include "test_service.h"

#include <QApplication>
#include <QTest>

template <class T>
int run(int argc, char** argv)
{
    T test;
    return QTest::qExec(&test, argc, argv);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int status = 0;
    status |= run<ParamsTest>(argc, argv);
    status |= run<TransportTest>(argc, argv);
    status |= run<ActionsTest>(argc, argv);
    return status;
}
