#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A file written whole or not at all, holding personal data: like QSaveFile, the data goes to a
// temporary file beside path that replaces path only when commit() succeeds, but the temporary
// file is owner-only from its creation (QSaveFile and QTemporaryFile create it with the folder's
// inherited rights on Windows, and QSaveFile with the default mode elsewhere when path is new),
// and so is the file it becomes (see PrivateFile). An object destroyed without a successful
// commit() removes its temporary file and leaves path as it was.
class PrivateSaveFile
{
public:
    explicit PrivateSaveFile(const QString& path);
    ~PrivateSaveFile();
    PrivateSaveFile(const PrivateSaveFile&) = delete;
    PrivateSaveFile& operator=(const PrivateSaveFile&) = delete;

    bool open();
    bool write(const char* data, qint64 size);
    bool write(const QByteArray& data) { return write(data.constData(), data.size()); }
    // Flushes the data to the disk and renames the temporary file over path.
    bool commit();

    QString errorString() const { return m_error; }
    // The temporary file while the object is open.
    QString temporaryPath() const { return m_temp.isOpen() ? m_tempPath : QString(); }

private:
    bool failed(const QString& reason);
    void discard();

    QString m_path;
    QFile m_temp;
    QString m_tempPath; // its name: a QFile opened on a descriptor (on Windows) forgets it
    bool m_committed = false;
    QString m_error;
};
