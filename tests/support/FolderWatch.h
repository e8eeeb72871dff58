#pragma once

#include <QMap>
#include <QSet>
#include <QString>

// Counts, through the kernel's file notifications (inotify, Linux), how often each file in one
// folder is written: closed after changing it, or moved into place whole (how a file replaced
// through a temporary copy arrives). Counting starts at construction;
// take() collects what happened since. available() is false where inotify is missing.
class FolderWatch
{
public:
    explicit FolderWatch(const QString& folder);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    bool available() const { return m_fd >= 0 && m_watch >= 0; }
    // Writes of name: closes after changing it, plus moves into place.
    int writes(const QString& name);

private:
    void drain();

    int m_fd = -1;
    int m_watch = -1;
    QMap<QString, int> m_writes;
    QSet<QString> m_modified; // written to since it was last closed
};
