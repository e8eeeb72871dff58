#include "RunTests.h"
#include "ServiceRig.h"

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
#ifndef Q_OS_WIN
    ::umask(022); // the common default, under which new files are readable by all
#endif
    return RunTests<ServiceTest>(argc, argv);
}
