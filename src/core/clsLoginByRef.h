#pragma once

#include <QString>

// One user that the account may order for.
class clsLoginByRef
{
public:
    QString UserName() const { return m_UserName; }
    void setUserName(const QString& v) { m_UserName = v; }
    // The name shown to the user, and the entry's key in the list.
    QString LongName() const { return m_LongName; }
    void setLongName(const QString& v) { m_LongName = v; }
    QString Password() const { return m_Password; }
    void setPassword(const QString& v) { m_Password = v; }

private:
    QString m_UserName;
    QString m_LongName;
    QString m_Password;
};
