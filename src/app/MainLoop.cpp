#include "app/MainLoop.h"

#include <QCoreApplication>
#include <QTimer>

void PostToMainLoop(std::function<void()> fn)
{
    QTimer::singleShot(0, QCoreApplication::instance(), std::move(fn));
}
