#include <QApplication>

int QuillMain(int argc, char** argv)
{
    QApplication app(argc, argv);
    return 0;
}
