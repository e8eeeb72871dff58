#include "platform/PrivateSaveFile.h"

#include <QFile>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

PrivateSaveFile::PrivateSaveFile(const QString& path)
    : m_path(path)
    // Beside the target, so the final rename stays on one file system. QTemporaryFile creates
    // the file exclusively with mode 0600 (on Windows with the folder's inherited ACLs).
    , m_temp(std::make_unique<QTemporaryFile>(path + QStringLiteral(".XXXXXX")))
{
}

bool PrivateSaveFile::failed(const QString& reason)
{
    m_error = reason;
    return false;
}

bool PrivateSaveFile::open()
{
    if (!m_temp)
        return failed(QStringLiteral("the file was committed already"));
    if (!m_temp->open())
        return failed(m_temp->errorString());
    return true;
}

bool PrivateSaveFile::write(const char* data, qint64 size)
{
    if (!m_temp || m_temp->write(data, size) != size)
        return failed(m_temp ? m_temp->errorString() : QStringLiteral("the file was committed already"));
    return true;
}

bool PrivateSaveFile::commit()
{
    if (!m_temp || !m_temp->isOpen())
        return failed(QStringLiteral("the file was not opened"));
    if (!m_temp->flush())
        return failed(m_temp->errorString());
#ifdef Q_OS_WIN
    const bool synced = ::_commit(m_temp->handle()) == 0;
#else
    const bool synced = ::fsync(m_temp->handle()) == 0;
#endif
    if (!synced)
        return failed(QStringLiteral("the data could not be written to the disk"));
    // QTemporaryFile::close() only rewinds: the file stays open until the object goes, and
    // Windows renames no open file. So the object goes first, keeping its file.
    const QString temp = m_temp->fileName();
    m_temp->setAutoRemove(false);
    m_temp.reset();
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(temp.toStdU16String()),
                            std::filesystem::path(m_path.toStdU16String()), error);
    if (error) {
        QFile::remove(temp);
        return failed(QString::fromStdString(error.message()));
    }
    return true;
}
