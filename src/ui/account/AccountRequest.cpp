#include "ui/account/AccountRequest.h"

#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "service/basTransport.h"
#include "service/basXML.h"

#include <QStringList>

namespace AccountRequest {

bool ToFields(const QString& block, QString& fields)
{
    return BuildKeyValueString(block, fields);
}

QString Read(const QString& action, const QString& fields)
{
    return PostAddress(AccountAddress(Props(), action, fields));
}

QString Change(const QString& action, const QString& fields)
{
    // The vendor may have acted on a change whose answer was lost: never send it again.
    return PostAddress(AccountAddress(Props(), action, fields), nullptr, Delivery::AtMostOnce);
}

QString WithoutSecrets(QString text, const QStringList& secrets)
{
    for (const QString& secret : secrets) {
        if (!secret.isEmpty())
            text.replace(secret, QStringLiteral("*****"));
    }
    return text;
}

} // namespace AccountRequest
