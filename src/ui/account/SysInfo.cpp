#include "ui/account/SysInfo.h"

#include "core/MsgBox.h"
#include "platform/AppPaths.h"
#include "platform/FileOps.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

namespace SysInfo {

namespace {

const QString kLocalMachine = QStringLiteral("HKEY_LOCAL_MACHINE");

// The program the registry names, or the empty text.
QString registeredProgram()
{
    QString program;
    if (GetKeyValue(kLocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"), QStringLiteral("PATH"),
                    program))
        return AppPaths::ToLocalPath(program);
    QString folder;
    if (GetKeyValue(kLocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                    QStringLiteral("MSINFO"), folder)) {
        const QString file = AppPaths::ToLocalPath(folder + QStringLiteral("\\MSINFO32.EXE"));
        if (FileOps::Exists(file))
            return file;
    }
    return QString();
}

} // namespace

const QStringList& DesktopPrograms()
{
    static const QStringList programs = {QStringLiteral("kinfocenter"), QStringLiteral("hardinfo2"),
                                         QStringLiteral("hardinfo"), QStringLiteral("gnome-system-monitor")};
    return programs;
}

bool GetKeyValue(const QString& rootKey, const QString& keyPath, const QString& valueName, QString& value)
{
    value.clear();
    QString read;
    if (rootKey != kLocalMachine || !TheRegistry().QueryString(keyPath, valueName, read))
        return false;
    if (read.endsWith(QChar(0)))
        read.chop(1);
    value = read;
    return true;
}

void StartSysInfo()
{
    QString program = registeredProgram();
    if (program.isEmpty())
        program = FindDesktopProgram(DesktopPrograms());
    if (!program.isEmpty() && TheShell().StartProgram(program, {}, SW_SHOWNORMAL))
        return;
    MsgBox(QStringLiteral("System Information Is Unavailable At This Time"), vbOKOnly, AppPaths::ProgramTitle());
}

} // namespace SysInfo
