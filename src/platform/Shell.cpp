#include "platform/Shell.h"

#include "platform/Seam.h"
#include "platform/WebAddress.h"
#include "platform/WindowsShell.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

#ifndef Q_OS_WIN
constexpr int kSuccess = 42;
constexpr int kFileNotFound = 2;
constexpr int kNoAssociation = 31;
constexpr int kOutOfResources = 0;
// How long a handler may take to report an early failure before it counts as started.
constexpr int kHandlerGraceMs = 2000;

bool isAddress(const QString& file)
{
    return IsWebAddress(file) || QUrl(file).scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) == 0;
}

// xdg-open's exit codes: 0 done, 2 file missing, 3 no handler, 4 action failed.
int classicCodeForXdg(int exitCode)
{
    switch (exitCode) {
    case 0: return kSuccess;
    case 2: return kFileNotFound;
    default: return kNoAssociation;
    }
}

// Runs a handler program; early failures are reported, a handler that keeps running (a browser
// that stays open) counts as success and is left to run on its own.
int runHandler(const QString& program, const QStringList& arguments, int (*codeFor)(int))
{
    auto* process = new QProcess(QCoreApplication::instance());
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->start(program, arguments);
    if (!process->waitForStarted(kHandlerGraceMs)) {
        process->deleteLater();
        return kNoAssociation;
    }
    if (!process->waitForFinished(kHandlerGraceMs))
        return kSuccess;
    return process->exitStatus() == QProcess::NormalExit ? codeFor(process->exitCode()) : kNoAssociation;
}

int classicCodeForLp(int exitCode)
{
    return exitCode == 0 ? kSuccess : kOutOfResources;
}

// The opener runs on its own; its end, or its failure to start, is reported from the event loop.
void watchOpener(QProcess* process, const std::function<void(int)>& onFailure)
{
    QObject::connect(process, &QProcess::finished, process,
                     [process, onFailure](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         const int code = status == QProcess::NormalExit ? classicCodeForXdg(exitCode) : kNoAssociation;
                         if (code <= 32 && onFailure)
                             onFailure(code);
                     });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, onFailure](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        process->deleteLater();
        if (onFailure)
            onFailure(kNoAssociation);
    });
}

#endif

} // namespace

// On Windows the shell itself answers with the classic codes; elsewhere xdg-open and lp stand in
// for it and their exit codes are mapped to the same codes.
#ifdef Q_OS_WIN

int Shell::ShellExecute(const QString& verb, const QString& file, const QString& parameters, const QString& directory,
                        int showCommand)
{
    return WindowsShell::Execute(verb, file, parameters, directory, showCommand);
}

// The shell hands the page to the browser and returns; a failure is known at once.
int Shell::OpenPage(const QString& address, std::function<void(int code)>)
{
    return WindowsShell::Execute(QStringLiteral("open"), address, QString(), QString(), SW_SHOWNORMAL);
}

// "print" goes to the default printer; a chosen printer is named to the handler's "printto".
// Handlers print one copy per request.
int Shell::PrintFile(const QString& file, const QString& printer, int copies)
{
    const QString verb = printer.isEmpty() ? QStringLiteral("print") : QStringLiteral("printto");
    const QString parameters = printer.isEmpty() ? QString() : QLatin1Char('"') + printer + QLatin1Char('"');
    int code = 0;
    for (int copy = 0; copy < qMax(1, copies); ++copy) {
        code = WindowsShell::Execute(verb, file, parameters, QString(), SW_HIDE);
        if (code <= 32)
            break;
    }
    return code;
}

#else

int Shell::ShellExecute(const QString& verb, const QString& file, const QString&, const QString&, int)
{
    if (!isAddress(file) && !QFileInfo::exists(file))
        return kFileNotFound;
    if (verb.compare(QLatin1String("print"), Qt::CaseInsensitive) == 0)
        return PrintFile(file, QString(), 1);
    return runHandler(QStringLiteral("xdg-open"), {file}, classicCodeForXdg);
}

int Shell::OpenPage(const QString& address, std::function<void(int code)> onFailure)
{
    if (!isAddress(address) && !QFileInfo::exists(address))
        return kFileNotFound;
    auto* process = new QProcess(QCoreApplication::instance());
    watchOpener(process, onFailure);
    process->start(QStringLiteral("xdg-open"), {address});
    return kSuccess;
}

int Shell::PrintFile(const QString& file, const QString& printer, int copies)
{
    if (!QFileInfo::exists(file))
        return kFileNotFound;
    QStringList arguments;
    if (!printer.isEmpty())
        arguments << QStringLiteral("-d") << printer;
    arguments << QStringLiteral("-n") << QString::number(qMax(1, copies)) << QStringLiteral("--") << file;
    return runHandler(QStringLiteral("lp"), arguments, classicCodeForLp);
}

#endif

bool Shell::StartProgram(const QString& program, const QStringList& arguments, int)
{
    return QProcess::startDetached(program, arguments);
}

QString FindDesktopProgram(const QStringList& names)
{
#ifdef Q_OS_WIN
    Q_UNUSED(names);
#else
    for (const QString& name : names) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
#endif
    return QString();
}

Shell& TheShell()
{
    return Seam<Shell>::get();
}
