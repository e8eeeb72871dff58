#include "platform/PrivateSaveFile.h"

#include "platform/PrivateFile.h"

#include <QRandomGenerator>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// Six letters and digits, as QTemporaryFile puts in place of its XXXXXX.
QString randomSuffix()
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString suffix;
    for (int i = 0; i < 6; ++i)
        suffix += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)]);
    return suffix;
}

} // namespace

PrivateSaveFile::PrivateSaveFile(const QString& path) : m_path(path)
{
}

PrivateSaveFile::~PrivateSaveFile()
{
    discard();
}

bool PrivateSaveFile::failed(const QString& reason)
{
    m_error = reason;
    return false;
}

void PrivateSaveFile::discard()
{
    if (!m_temp.isOpen())
        return;
    m_temp.close();
    QFile::remove(m_tempPath);
}

// Beside the target, so the final rename stays on one file system; created exclusively, so a
// name someone else holds is never opened, only passed over.
bool PrivateSaveFile::open()
{
    if (m_committed || m_temp.isOpen())
        return failed(QStringLiteral("the file was opened already"));
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_tempPath = m_path + QLatin1Char('.') + randomSuffix();
        m_temp.setFileName(m_tempPath);
        QString reason;
        switch (PrivateFile::OpenNew(m_temp, &reason)) {
        case PrivateFile::Create::Created: return true;
        case PrivateFile::Create::Exists: continue;
        case PrivateFile::Create::Failed: return failed(reason);
        }
    }
    return failed(QStringLiteral("no free temporary name beside the file"));
}

bool PrivateSaveFile::write(const char* data, qint64 size)
{
    if (!m_temp.isOpen())
        return failed(QStringLiteral("the file is not open"));
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
    // Windows renames no open file: closed first, then moved over the target in one rename.
    m_temp.close();
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(m_tempPath.toStdU16String()),
                            std::filesystem::path(m_path.toStdU16String()), error);
    if (error) {
        QFile::remove(m_tempPath);
        return failed(QString::fromStdString(error.message()));
    }
    m_committed = true;
    return true;
}
