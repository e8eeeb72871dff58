#include "test_host.h"

#include <QApplication>
#include <QTest>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int status = 0;
    {
        RecordsTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        ExportReaderTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        PdfCleanUpTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        ConfigTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}
