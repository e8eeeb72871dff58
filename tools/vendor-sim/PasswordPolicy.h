#pragma once

#include <QString>

// The password rules the vendor publishes (GETABOUT) and enforces (CHANGEPASSWORD). Both come from
// this one class so that the text the user reads is the rule that is applied.
class PasswordPolicy
{
public:
    static constexpr int MinimumLength = 8;

    // The published text, as shown by the client's password help.
    static QString description();

    // Empty when the password satisfies every rule, otherwise the first rule it breaks.
    static QString violation(const QString& password);
};
