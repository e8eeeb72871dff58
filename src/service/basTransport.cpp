#include "service/basTransport.h"

#include "core/LogMask.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/HttpRequest.h"
#include "service/basPrefetch.h"
#include "service/basUrl.h"

namespace {

QString field(const QString& name, const QString& value)
{
    return name + QLatin1Char('=') + EncodeFormValue(value);
}

void trace(QString* progress, const char* text)
{
    if (progress)
        *progress = QString::fromLatin1(text);
}

} // namespace

QString CredentialFields(const clsProperties& props, bool loginByRef)
{
    const auto reference = props.LoginReference();
    const QString own = field(QStringLiteral("UserName"), props.UserName()) + QLatin1Char('&')
        + field(QStringLiteral("Password"), props.Password());
    if (!loginByRef || !reference)
        return own;
    return field(QStringLiteral("UserName"), reference->UserName()) + QLatin1Char('&')
        + field(QStringLiteral("Password"), reference->Password()) + QLatin1Char('&')
        + field(QStringLiteral("LoginByRefUserName"), props.UserName()) + QLatin1Char('&')
        + field(QStringLiteral("LoginByRefPassword"), props.Password());
}

QString AccountAddress(const clsProperties& props, const QString& action, const QString& fields)
{
    return props.BaseUrl() + props.AspUtil() + QStringLiteral("Action=") + EncodeFormValue(action) + fields;
}

QString CredentialedAccountAddress(const clsProperties& props, const QString& action, const QString& fields)
{
    return props.BaseUrl() + props.AspUtil() + CredentialFields(props, props.IsLoginByRef())
        + QStringLiteral("&Action=") + EncodeFormValue(action) + fields;
}

QString ReportAddress(const clsProperties& props, const QString& action, const QString& fields)
{
    return props.BaseUrl() + props.PostLocation() + CredentialFields(props, props.IsLoginByRef())
        + QStringLiteral("&action=") + EncodeFormValue(action) + fields;
}

AppError WithMaskedPasswords(AppError failure)
{
    failure.Description = MaskPasswords(failure.Description);
    return failure;
}

namespace {

QString post(const QString& address, QString* progress, Delivery delivery)
{
    // A read sent ahead for this very address: its answer, or its failure raised here.
    if (!progress && delivery == Delivery::Repeatable) {
        if (auto held = Prefetch::Take(address))
            return *held;
    }
    trace(progress, "Before MSXML2.XMLHTTP30 Creation  ");
    HttpRequest request;
    request.setAtMostOnce(delivery == Delivery::AtMostOnce);
    trace(progress, "After MSXML2.XMLHTTP30 Creation  ");
    request.open(QStringLiteral("POST"), address, false);
    trace(progress, "After MSXML2.XMLHTTP30 Open  ");
    request.send();
    trace(progress, "After MSXML2.XMLHTTP30 Send  ");
    return request.responseText();
}

} // namespace

QString PostAddress(const QString& address, QString* progress, Delivery delivery)
{
    try {
        return post(address, progress, delivery);
    } catch (const AppError& failure) {
        throw WithMaskedPasswords(failure);
    }
}
