#include "test_app.h"

#include <QApplication>
#include <QTest>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int status = 0;
    {
        LogsTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        SettingsTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        MainTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}
