#include "core/FreeFileName.h"

#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/FileOps.h"
#include "platform/PrivateFile.h"
#include "platform/PrivateSaveFile.h"

#include <QFile>
#include <QFileInfo>

FreeFileName::FreeFileName(const QString& folder, const QString& name, const QString& extension)
    : m_base(AppPaths::ToLocalPath(folder) + name), m_extension(extension)
{
    for (m_path = candidate(); QFileInfo::exists(m_path); m_path = candidate())
        ++m_counter;
}

QString FreeFileName::candidate() const
{
    const QString counter = m_counter == 0 ? QString() : QString::number(m_counter);
    return m_base + counter + QLatin1Char('.') + m_extension;
}

void FreeFileName::take()
{
    if (m_taken)
        return;
    for (;;) {
        QString reason;
        switch (PrivateFile::CreateNew(m_path, &reason)) {
        case PrivateFile::Create::Created: m_taken = true; return;
        case PrivateFile::Create::Exists:
            ++m_counter;
            m_path = candidate();
            continue;
        case PrivateFile::Create::Failed:
            throw AppError(ErrNo::FileIo, QStringLiteral("%1 cannot be written: %2").arg(m_path, reason));
        }
    }
}

void FreeFileName::giveBack()
{
    if (m_taken)
        QFile::remove(m_path);
    m_taken = false;
}

void FreeFileName::write(const QByteArray& data)
{
    take();
    PrivateSaveFile file(m_path);
    if (file.open() && file.write(data) && file.commit())
        return;
    giveBack();
    throw AppError(ErrNo::FileIo, QStringLiteral("%1 cannot be written: %2").arg(m_path, file.errorString()));
}

void FreeFileName::moveHere(const QString& source)
{
    take();
    try {
        FileOps::Rename(source, m_path);
    } catch (const AppError&) {
        giveBack();
        throw;
    }
    // A file left readable by others (by an earlier version) is closed to them on its way.
    PrivateFile::Restrict(m_path);
}
