#include "app/MainLoop.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

namespace {

constexpr int kRetryMs = 20;

// The main loop (QApplication::exec) is loop level 1; any higher level is a nested loop.
bool inNestedLoop()
{
    return QThread::currentThread()->loopLevel() > 1;
}

void postAfter(int ms, std::function<void()> fn)
{
    QTimer::singleShot(ms, QCoreApplication::instance(), [fn = std::move(fn)]() mutable {
        if (inNestedLoop()) {
            postAfter(kRetryMs, std::move(fn));
            return;
        }
        fn();
    });
}

} // namespace

void PostToMainLoop(std::function<void()> fn)
{
    postAfter(0, std::move(fn));
}
