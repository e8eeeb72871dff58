#include "host/basPdfFiles.h"

#include "core/FreeFileName.h"
#include "core/MsgBox.h"
#include "core/basLog.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/FileOps.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <exception>

namespace {

// vsName, optionally decimal digits, then ".pdf": the names the loan's downloads are saved under.
QRegularExpression loanPdfPattern(const QString& vsName)
{
    return QRegularExpression(QStringLiteral("\\A") + QRegularExpression::escape(vsName)
                                  + QStringLiteral("[0-9]*\\.pdf\\z"),
                              FileOps::NameCase() == Qt::CaseInsensitive ? QRegularExpression::CaseInsensitiveOption
                                                                         : QRegularExpression::NoPatternOption);
}

[[noreturn]] void fail(const QString& description)
{
    throw AppError(ErrNo::FileIo, description, QStringLiteral("CleanUpPdfFiles"));
}

// The folder part of a host path, separator kept; empty when the path names no folder.
QString folderOf(const QString& hostPath)
{
    const QString path = AppPaths::ToLocalPath(hostPath);
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return cut < 0 ? QString() : path.left(cut + 1);
}

void cleanUp(const QString& vsPath, const QString& vsName)
{
    if (!IsPlainFileName(vsName))
        fail(QStringLiteral("The loan file name \"%1\" is not a plain file name; no PDF file was touched").arg(vsName));
    const QString folder = folderOf(vsPath);
    if (folder.isEmpty())
        fail(QStringLiteral("The loan file path \"%1\" names no folder").arg(vsPath));
    if (!FileOps::FolderExists(folder))
        return;
    if (!QFileInfo(folder).isReadable())
        fail(QStringLiteral("The folder %1 cannot be listed").arg(folder));

    const QRegularExpression loanPdf = loanPdfPattern(vsName);
    QStringList found;
    QString newest;
    QDateTime newestTime; // invalid: earlier than any file
    for (const QString& entry : FileOps::List(folder, QStringLiteral("*"))) {
        if (!loanPdf.match(entry).hasMatch())
            continue;
        const QString file = folder + entry;
        // A link or a pipe under the loan's name in a shared folder is not the loan's download: it
        // is neither kept as the report nor deleted, and opening a pipe to test it would block.
        if (const QFileInfo info(file); info.isSymLink() || !info.isFile())
            continue;
        found << file;
        // An empty file is what a save cut short leaves (its name is taken before the PDF is
        // written): kept as the newest, it would replace the loan's last good report.
        if (QFileInfo(file).size() == 0)
            continue;
        const QDateTime modified = FileOps::Modified(file);
        if (newest.isEmpty() || modified > newestTime) {
            newest = file;
            newestTime = modified;
        }
    }
    if (found.isEmpty())
        return;

    for (const QString& file : std::as_const(found)) {
        if (file == newest)
            continue;
        if (FileOps::IsInUse(file))
            continue; // open in a viewer: left for a later load
        FileOps::Delete(file);
    }
    // The free name is taken before the move, so a PDF another client saves under it meanwhile
    // is never replaced.
    if (!newest.isEmpty())
        FreeFileName(folder, vsName, QStringLiteral("pdf")).moveHere(newest);
}

} // namespace

bool IsLoanPdfName(const QString& candidate, const QString& vsName)
{
    return loanPdfPattern(vsName).match(candidate).hasMatch();
}

bool CleanUpPdfFiles(const QString& vsPath, const QString& vsName)
{
    try {
        cleanUp(vsPath, vsName);
    } catch (const AppError& error) {
        MsgBox(QStringLiteral("There was a problem cleaning up old PDF files for this borrower."), vbExclamation,
               QStringLiteral("Clean Up Problem"));
        WriteErrorLog(error.Description);
    } catch (const std::exception& error) {
        MsgBox(QStringLiteral("There was a problem cleaning up old PDF files for this borrower."), vbExclamation,
               QStringLiteral("Clean Up Problem"));
        WriteErrorLog(QString::fromLocal8Bit(error.what()));
    }
    return true;
}
