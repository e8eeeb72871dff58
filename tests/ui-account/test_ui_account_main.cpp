#include "test_ui_account.h"

#include <QApplication>
#include <QTest>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int status = 0;
    {
        PrefsTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        StartupAccountTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}
