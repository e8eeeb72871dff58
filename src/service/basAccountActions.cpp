#include "service/basAccountActions.h"

#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "service/ServiceAction.h"
#include "service/basAnswer.h"

#include <QStringList>

namespace {

// "(" + 3 + ") " + 3 + "-" + 4 for a ten-character telephone value; others unchanged.
QString regroupPhone(const QString& phone)
{
    if (phone.size() != 10)
        return phone;
    return QLatin1Char('(') + phone.left(3) + QStringLiteral(") ") + phone.mid(3, 3) + QLatin1Char('-')
        + phone.right(4);
}

void readContactInfo(const QString& answer)
{
    if (answer.isEmpty())
        return;
    // A page instead of an answer, or a short answer, fills nothing rather than part of the values.
    if (answer.startsWith(QLatin1Char('<')))
        throw AppError(13, QStringLiteral("The server's contact information is not in the expected form: ") + answer);
    const QStringList parts = answer.split(QStringLiteral("||"));
    const QString email = Answer::At(parts, 2);
    Props().setUserPhone(regroupPhone(parts.at(0)));
    Props().setUserPhoneExt(parts.at(1));
    Props().setUserEmail(email);
}

// A change the vendor confirms with one word; any other protocol answer is its reason for refusing.
// A web page is no refusal: the change may have been made before the page was sent.
ServiceOperation changeOperation(const char* operation, const char* action, const char* confirmation)
{
    return {ServiceAction(QString::fromLatin1(operation), QString::fromLatin1(action), AddressForm::Account,
                          FailureHandling::ToCaller)
                .atMostOnce(),
            [confirmation](QString& a) {
                if (a.compare(QLatin1String(confirmation), Qt::CaseInsensitive) != 0)
                    throw AppError(ErrNo::Refused, a);
            }};
}

ServiceOperation contactInfoOperation()
{
    return {ServiceAction(QStringLiteral("GetContactInfo"), QStringLiteral("GETCONTACTINFO"), AddressForm::Account,
                          FailureHandling::ToCaller)
                .anyAnswer(),
            [](QString& a) { readContactInfo(a); }};
}

ServiceOperation updateContactOperation()
{
    return changeOperation("UpdateContactInfo", "UPDATECONTACTINFO", "CONTACTINFOCHANGED");
}

ServiceOperation changePasswordOperation()
{
    return changeOperation("ChangePassword", "CHANGEPASSWORD", "PASSWORDCHANGED");
}

} // namespace

void GetContactInfo(const QString& block, QObject* context, ServiceReply done)
{
    contactInfoOperation().start(block, context, std::move(done));
}

void UpdateContactInfo(const QString& block, QObject* context, ServiceReply done)
{
    updateContactOperation().start(block, context, std::move(done));
}

void ChangePassword(const QString& block, QObject* context, ServiceReply done)
{
    changePasswordOperation().start(block, context, std::move(done));
}
