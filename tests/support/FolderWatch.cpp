#include "FolderWatch.h"

#include <QFile>

#ifdef Q_OS_LINUX
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#endif

FolderWatch::FolderWatch(const QString& folder)
{
#ifdef Q_OS_LINUX
    m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd >= 0)
        m_watch =
            inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO);
#else
    Q_UNUSED(folder);
#endif
}

FolderWatch::~FolderWatch()
{
#ifdef Q_OS_LINUX
    if (m_fd >= 0)
        close(m_fd);
#endif
}

int FolderWatch::writes(const QString& name)
{
    drain();
    return m_writes.value(name);
}

void FolderWatch::drain()
{
#ifdef Q_OS_LINUX
    if (m_fd < 0)
        return;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t length = read(m_fd, buffer, sizeof buffer);
        if (length <= 0)
            return;
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->len > 0) {
                const QString name = QFile::decodeName(event->name);
                if (event->mask & IN_MODIFY)
                    m_modified.insert(name);
                // Opened for writing but left unchanged (as a lock check does) is no write.
                if ((event->mask & IN_CLOSE_WRITE) && m_modified.remove(name))
                    ++m_writes[name];
                if (event->mask & IN_MOVED_TO)
                    ++m_writes[name];
            }
            at += ssize_t(sizeof(inotify_event)) + event->len;
        }
    }
#endif
}
