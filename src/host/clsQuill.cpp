#include "host/clsQuill.h"

#include "core/AppContext.h"
#include "core/CharRoutines.h"
#include "core/clsProperties.h"
#include "host/ArchiveStamp.h"
#include "host/basPdfFiles.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/FileOps.h"
#include "platform/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

const QString kSource = QStringLiteral("ReadQuillExportFile");
constexpr qsizetype kShortLayoutFields = 17;
constexpr qint64 kExportLineLimit = 64 * 1024;

// Blanks only, as the host writes them; other white space belongs to the value.
QString trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

QString withoutApostrophes(QString text)
{
    return text.remove(QLatin1Char('\''));
}

// Splits off the text after the last blank when it has at most maxLength characters.
QString splitLastWord(QString& rsName, qsizetype maxLength)
{
    const qsizetype blank = rsName.lastIndexOf(QLatin1Char(' '));
    if (blank < 0)
        return QString();
    const QString candidate = trimBlanks(rsName.mid(blank + 1));
    if (candidate.size() > maxLength)
        return QString();
    rsName = trimBlanks(rsName.left(blank));
    return candidate;
}

// The first line of the file, up to CR LF or a lone LF, decoded from Windows-1252.
QString readFirstLine(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw AppError(clsQuill::ErrFileNotFound, QStringLiteral("File not found: ") + path, kSource);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(clsQuill::ErrFileAccess,
                       QStringLiteral("Path/File access error: %1 (%2)").arg(path, file.errorString()), kSource);
    // The host writes one short line; a file without a line break in sight is not its export, and
    // is not read whole into memory.
    QByteArray line = file.readLine(kExportLineLimit + 1);
    if (line.isEmpty()) {
        if (file.error() != QFileDevice::NoError)
            throw AppError(clsQuill::ErrFileAccess,
                           QStringLiteral("Path/File access error: %1 (%2)").arg(path, file.errorString()), kSource);
        throw AppError(clsQuill::ErrPastEnd, QStringLiteral("Input past end of file: %1 is empty").arg(path), kSource);
    }
    if (!line.endsWith('\n') && !file.atEnd())
        throw AppError(clsQuill::ErrFileAccess,
                       QStringLiteral("Path/File access error: %1 (its first line is longer than %2 bytes)")
                           .arg(path)
                           .arg(kExportLineLimit),
                       kSource);
    if (line.endsWith('\n')) {
        line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return TextFile::Decode(line);
}

// The fields of the first line; asking for one that is not there fails naming it.
class ExportLine
{
public:
    ExportLine(const QString& path, const QString& line) : m_path(path), m_fields(line.split(QLatin1Char('\t'))) {}

    qsizetype count() const { return m_fields.size(); }

    const QString& operator[](qsizetype index) const
    {
        if (index >= m_fields.size())
            throw AppError(clsQuill::ErrFieldMissing,
                           QStringLiteral("Field %1 is missing from %2: its first line has %3 field(s)")
                               .arg(index)
                               .arg(m_path)
                               .arg(m_fields.size()),
                           kSource);
        return m_fields.at(index);
    }

private:
    QString m_path;
    QStringList m_fields;
};

// Names of one applicant: combined fields in the short layout, separate ones in the long layout.
void readNames(clsBorrower& borrower, const ExportLine& fields, qsizetype last, qsizetype first, qsizetype middle,
               qsizetype suffix)
{
    if (fields.count() <= kShortLayoutFields) {
        QString lastName = fields[last];
        const QString splitSuffix = clsQuill::SplitSuffix(lastName);
        borrower.setLastName(withoutApostrophes(lastName));
        borrower.setSuffix(splitSuffix);
        QString firstName = withoutApostrophes(fields[first]);
        borrower.setMiddleInitial(clsQuill::SplitMiddle(firstName));
        borrower.setFirstName(firstName);
    } else {
        borrower.setLastName(fields[last]);
        borrower.setFirstName(fields[first]);
        borrower.setMiddleInitial(fields[middle]);
        borrower.setSuffix(fields[suffix]);
    }
}

void readAddress(clsAddress& address, const ExportLine& fields, qsizetype street)
{
    address.setAddress1(withoutApostrophes(fields[street]));
    address.setCity(withoutApostrophes(fields[street + 1]));
    address.setState(withoutApostrophes(fields[street + 2]));
    address.setPostalCode(withoutApostrophes(fields[street + 3]));
}

} // namespace

QString clsQuill::SplitSuffix(QString& rsName)
{
    QString suffix = splitLastWord(rsName, 3);
    if (rsName.endsWith(QLatin1Char(',')))
        rsName.chop(1);
    rsName = trimBlanks(rsName);
    return trimBlanks(suffix);
}

QString clsQuill::SplitMiddle(QString& rsName)
{
    return splitLastWord(rsName, 2);
}

QString clsQuill::ExportFilePath()
{
    return Props().ReceiveDir() + QStringLiteral("EXPORT.DAT");
}

QString clsQuill::ArchiveExportFile()
{
    const QString copy = Props().ArchiveDir() + ArchiveStamp() + QStringLiteral("EXPORT.DAT");
    FileOps::Copy(AppPaths::ToLocalPath(ExportFilePath()), AppPaths::ToLocalPath(copy));
    return copy;
}

std::shared_ptr<clsInquiry> clsQuill::ReadQuillExportFile(const QString& vsFile)
{
    const QString path = AppPaths::ToLocalPath(vsFile);
    const ExportLine fields(path, readFirstLine(path));
    const qsizetype n = fields.count();

    auto inquiry = std::make_shared<clsInquiry>();
    auto request = std::make_shared<clsCreditRequest>();

    auto borrower = std::make_shared<clsBorrower>();
    readNames(*borrower, fields, 0, 1, 17, 18);
    borrower->setSSN(DigitsOnly(fields[2]));
    readAddress(*borrower->CurrentAddress(), fields, 6);
    readAddress(*borrower->PreviousAddress(), fields, 10);
    if (n >= 22) {
        borrower->setDOB(fields[21]);
        borrower->ValidDate();
    }
    inquiry->setBorrower(borrower);

    if (!fields[5].isEmpty()) {
        auto coBorrower = std::make_shared<clsBorrower>();
        readNames(*coBorrower, fields, 3, 4, 19, 20);
        coBorrower->setSSN(DigitsOnly(fields[5]));
        if (n >= 23) {
            coBorrower->setDOB(fields[22]);
            coBorrower->ValidDate();
        }
        inquiry->setCoBorrower(coBorrower);
    }

    inquiry->setReference(withoutApostrophes(fields[14]));
    inquiry->setBorrowerFile(fields[15]);
    inquiry->setBorrowerFilePath(fields[16]);

    request->setCreditRequestID(borrower->SSN());
    request->setActionType(QStringLiteral("Submit"));
    request->setReportType(QStringLiteral("Merge"));
    request->setRequestType(inquiry->CoBorrower() ? QStringLiteral("Joint") : QStringLiteral("Individual"));
    inquiry->setCreditRequest(request);

    CleanUpPdfFiles(inquiry->BorrowerFilePath(), inquiry->BorrowerFile());
    return inquiry;
}
