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
    return ServiceAction(kSource, QStringLiteral("GET_DATA"), AddressForm::Report).leadingFields(before).trailingFields(after);
}

// Only import text is written: a refusal, a page or nothing at all is a failure.
void checkImportText(const QString& answer)
{
    if (answer.startsWith(QLatin1String("FAILED")))
        throw AppError(ErrNo::Refused, answer, kSource);
    if (answer.startsWith(QLatin1Char('<')))
        throw AppError(ErrNo::Refused, QStringLiteral("The server answered with a page instead of import data."), kSource);
    if (answer.isEmpty())
        throw AppError(ErrNo::Refused, QStringLiteral("The server answered with no import data."), kSource);
}

QString writeImportFile(const QString& text)
{
    const QString path = AppPaths::ToLocalPath(Props().SendDir() + QStringLiteral("IMPORT.DAT"));
    if (!TextFile::WriteWhole(path, TextFile::Encode(text)))
        throw AppError(ErrNo::FileIo, path + QStringLiteral(" cannot be written"), kSource);
    return path;
}

} // namespace

bool GetData(const QString& block, QString& rsFile)
{
    const QString loanFile = rsFile;
    return getDataAction().run(block, rsFile, [&loanFile](QString& answer) {
        answer.replace(QStringLiteral("__XFILE__"), loanFile);
        checkImportText(answer);
        answer = writeImportFile(answer);
    });
}
