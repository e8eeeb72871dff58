#include "test_host.h"

#include "RunTests.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return RunTests<ExportReaderTest, HostFilesTest>(argc, argv);
}
