#include "test_service.h"
#ifdef QUILL_WITH_VENDOR_SIM
#include "test_actions.h"
#endif

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
#ifdef QUILL_WITH_VENDOR_SIM
    status |= run<ActionsTest>(argc, argv);
#endif
    return status;
}
