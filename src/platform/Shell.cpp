#include "platform/Shell.h"

#include "platform/Seam.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {

constexpr int kSuccess = 42;
constexpr int kFileNotFound = 2;
constexpr int kNoAssociation = 31;
constexpr int kOutOfResources = 0;
// How long a handler may take to report an early failure before it counts as started.
constexpr int kHandlerGraceMs = 2000;

bool isAddress(const QString& file)
{
    const QString scheme = QUrl(file).scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https")
        || scheme == QLatin1String("mailto");
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

int classicCodeForLp(int exitCode) { return exitCode == 0 ? kSuccess : kOutOfResources; }

} // namespace

int Shell::ShellExecute(const QString& verb, const QString& file, const QString&, const QString&, int)
{
    if (!isAddress(file) && !QFileInfo::exists(file))
        return kFileNotFound;
    if (verb.compare(QLatin1String("print"), Qt::CaseInsensitive) == 0)
        return PrintFile(file, QString(), 1);
    return runHandler(QStringLiteral("xdg-open"), {file}, classicCodeForXdg);
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

bool Shell::StartProgram(const QString& program, const QStringList& arguments, int)
{
    return QProcess::startDetached(program, arguments);
}

Shell& TheShell()
{
    return Seam<Shell>::get();
}
