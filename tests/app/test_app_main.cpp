#include "test_app.h"

#include "RunTests.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return RunTests<LogsTest, SettingsTest, MainTest, WindowsTest>(argc, argv);
}
