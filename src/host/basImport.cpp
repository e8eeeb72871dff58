#include "host/basImport.h"

#include "core/clsConfig.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/Shell.h"

#include <QDir>
#include <QFileInfo>

namespace {

// A host path as this platform's path, without the doubled separators that a folder ending in
// "/" followed by an added backslash gives.
QString localPath(const QString& hostPath)
{
    return QDir::toNativeSeparators(QDir::cleanPath(AppPaths::ToLocalPath(hostPath)));
}

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

QString ImportDefinitionName(const QString& vendor)
{
    return vendor == QLatin1String("Velmora Services") ? QStringLiteral("VELMORA.IMP") : QStringLiteral("tamcred.imp");
}

ImportCommand BuildImportCommand(const QString& file, const clsConfig& config, const QString& vendor)
{
    const QString program = config.sQuillAppPath() + QStringLiteral("IMPORT.EXE");
    const QString definition = config.sConfigPath() + ImportDefinitionName(vendor);
    ImportCommand command;
    command.program = localPath(program);
    command.arguments = {localPath(file), localPath(definition)};
    command.text = program + QLatin1Char(' ') + quoted(file) + QLatin1Char(' ') + quoted(definition);
    return command;
}

void StartImport(const ImportCommand& command)
{
    const QFileInfo program(command.program);
    if (!program.isFile())
        throw AppError(ErrNo::FileIo, QStringLiteral("The import program %1 does not exist").arg(command.program),
                       QStringLiteral("StartImport"));
    if (!program.isExecutable())
        throw AppError(ErrNo::FileIo, QStringLiteral("The import program %1 cannot be run").arg(command.program),
                       QStringLiteral("StartImport"));
    if (!TheShell().StartProgram(command.program, command.arguments, SW_HIDE))
        throw AppError(ErrNo::FileIo, QStringLiteral("The import program %1 did not start").arg(command.program),
                       QStringLiteral("StartImport"));
}
