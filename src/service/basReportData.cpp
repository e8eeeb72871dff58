#include "service/basReportData.h"

#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/TextFile.h"
#include "service/ServiceAction.h"
#include "service/basUrl.h"

namespace {

const QString kSource = QStringLiteral("GetData");

// The address parts around the criteria: the update message naming the vendor's site, the
// placeholder the server writes where the loan file belongs, and the user as reference.
ServiceAction getDataAction()
{
    const QString before = QStringLiteral("&UpdateMessage=Credit+report+recieved+and+populated+by+")
        + EncodeFormValue(Props().ClientWebsite()) + QStringLiteral("&BorrowerFile=__XFILE__");
    const QString after = QStringLiteral("&reference=") + EncodeFormValue(Props().UserName());
    return ServiceAction(kSource, QStringLiteral("GET_DATA"), AddressForm::Report)
        .leadingFields(before)
        .trailingFields(after);
}

// Only import text is written: a refusal, a page or nothing at all is a failure.
void checkImportText(const QString& answer)
{
    if (answer.startsWith(QLatin1String("FAILED")))
        throw AppError(ErrNo::Refused, answer, kSource);
    if (answer.startsWith(QLatin1Char('<')))
        throw AppError(ErrNo::Refused, QStringLiteral("The server answered with a page instead of import data."),
                       kSource);
    if (answer.isEmpty())
        throw AppError(ErrNo::Refused, QStringLiteral("The server answered with no import data."), kSource);
}

// The loan file's path put where the server wrote the placeholder. The text may grow well past
// the answer (a short placeholder repeated, a long path): beyond the longest text answer the
// transport takes, it is refused before it is built.
void putLoanFile(QString& answer, const QString& loanFile)
{
    const QString placeholder = QStringLiteral("__XFILE__");
    const qint64 size = answer.size() + answer.count(placeholder) * (qint64(loanFile.size()) - placeholder.size());
    if (size > ImportTextLimit)
        throw AppError(ErrNo::Transport,
                       QStringLiteral("The import data is too large: %1 characters with the loan file name put in, "
                                      "at most %2 are taken.")
                           .arg(size)
                           .arg(ImportTextLimit),
                       kSource);
    answer.replace(placeholder, loanFile);
}

QString writeImportFile(const QString& text)
{
    const QString path = AppPaths::ToLocalPath(Props().SendDir() + QStringLiteral("IMPORT.DAT"));
    if (!TextFile::WriteWhole(path, TextFile::Encode(text)))
        throw AppError(ErrNo::FileIo, path + QStringLiteral(" cannot be written"), kSource);
    return path;
}

// The answer becomes the path of the IMPORT.DAT written from it.
ServiceOperation getDataOperation(const QString& loanFile)
{
    return {getDataAction(), [loanFile](QString& answer) {
                putLoanFile(answer, loanFile);
                checkImportText(answer);
                answer = writeImportFile(answer);
            }};
}

} // namespace

void GetData(const QString& block, const QString& loanFile, QObject* context, ServiceReply done)
{
    getDataOperation(loanFile).start(block, context, std::move(done));
}
