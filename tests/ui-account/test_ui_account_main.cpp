#include "test_ui_account.h"

#include "RunTests.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return RunTests<PrefsTest, StartupAccountTest>(argc, argv);
}
