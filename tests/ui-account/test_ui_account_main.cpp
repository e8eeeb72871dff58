#include "test_account.h"

#include "RunTests.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return RunTests<AccountWindowsTest>(argc, argv);
}
