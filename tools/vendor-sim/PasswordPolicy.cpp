#include "PasswordPolicy.h"

#include <algorithm>

QString PasswordPolicy::description()
{
    return QStringLiteral("Your new password must consist of:\r\n"
                          "At least 1 upper case letter\r\n"
                          "At least 1 lower case letter\r\n"
                          "At least 1 number\r\n"
                          "\r\n"
                          "It must be %1 or more characters long")
        .arg(MinimumLength);
}

QString PasswordPolicy::violation(const QString& password)
{
    const auto any = [&password](auto test) { return std::any_of(password.cbegin(), password.cend(), test); };
    if (password.size() < MinimumLength)
        return QStringLiteral("The new password must be at least %1 characters long.").arg(MinimumLength);
    if (!any([](QChar c) { return c.isUpper(); }))
        return QStringLiteral("The new password must contain an upper case letter.");
    if (!any([](QChar c) { return c.isLower(); }))
        return QStringLiteral("The new password must contain a lower case letter.");
    if (!any([](QChar c) { return c.isDigit(); }))
        return QStringLiteral("The new password must contain a number.");
    return QString();
}
