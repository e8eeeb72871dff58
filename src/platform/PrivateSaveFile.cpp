#include "platform/PrivateSaveFile.h"

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
    , m_temp(path + QStringLiteral(".XXXXXX"))
{
}

bool PrivateSaveFile::failed(const QString& reason)
{
    m_error = reason;
    return false;
}

bool PrivateSaveFile::open()
{
    if (!m_temp.open())
        return failed(m_temp.errorString());
    return true;
}

bool PrivateSaveFile::write(const char* data, qint64 size)
{
    if (m_temp.write(data, size) != size)
        return failed(m_temp.errorString());
    return true;
}

bool PrivateSaveFile::commit()
{
    if (!m_temp.isOpen())
        return failed(QStringLiteral("the file was not opened"));
    if (!m_temp.flush())
        return failed(m_temp.errorString());
#ifdef Q_OS_WIN
    const bool synced = ::_commit(m_temp.handle()) == 0;
#else
    const bool synced = ::fsync(m_temp.handle()) == 0;
#endif
    if (!synced)
        return failed(QStringLiteral("the data could not be written to the disk"));
    m_temp.close();
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(m_temp.fileName().toStdU16String()),
                            std::filesystem::path(m_path.toStdU16String()), error);
    if (error)
        return failed(QString::fromStdString(error.message()));
    m_temp.setAutoRemove(false);
    return true;
}
