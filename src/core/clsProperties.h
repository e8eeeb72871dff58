#pragma once

#include "core/clsLoginByRef.h"

#include <QList>
#include <QString>

#include <memory>

class clsConfig;

// A property with a reader Name() and a writer setName().
#define QUILL_PROPERTY(Type, Name) \
public:                            \
    Type Name() const              \
    {                              \
        return m_##Name;           \
    }                              \
    void set##Name(const Type& v)  \
    {                              \
        m_##Name = v;              \
    }                              \
                                   \
private:                           \
    Type m_##Name{};

// The settings and account object of one run: persistent settings, vendor identity and the
// data the server hands out once the user is known.
class clsProperties
{
    QUILL_PROPERTY(QString, ReissueNumber)
    QUILL_PROPERTY(bool, CrossCompanyReissue)
    QUILL_PROPERTY(bool, CanChangePassword)
    QUILL_PROPERTY(QString, UserEmail)
    QUILL_PROPERTY(QString, UserPhone)
    QUILL_PROPERTY(QString, UserPhoneExt)
    QUILL_PROPERTY(QString, ReportListPage)
    QUILL_PROPERTY(QString, PasswordSpecs)
    QUILL_PROPERTY(QString, PhoneNumber)
    QUILL_PROPERTY(QString, SupportEmail)
    QUILL_PROPERTY(QString, SummaryPageLink)
    QUILL_PROPERTY(QString, RMCRPageLink)
    QUILL_PROPERTY(std::shared_ptr<clsLoginByRef>, LoginReference)
    QUILL_PROPERTY(QList<std::shared_ptr<clsLoginByRef>>, LoginByReferences)
    QUILL_PROPERTY(bool, bTU_Right)
    QUILL_PROPERTY(bool, bEXP_Right)
    QUILL_PROPERTY(bool, bEFQ_Right)
    QUILL_PROPERTY(bool, SavePassword)
    QUILL_PROPERTY(qint16, DaysOldTimeFrame)
    QUILL_PROPERTY(qint32, PollingSleepTime)
    QUILL_PROPERTY(QString, Password)
    QUILL_PROPERTY(QString, UserName)
    QUILL_PROPERTY(QString, DepartmentID)
    QUILL_PROPERTY(QString, SuppPageLink)
    QUILL_PROPERTY(QString, CompanyID)
    QUILL_PROPERTY(QString, SendDir)
    QUILL_PROPERTY(QString, ReceiveDir)
    QUILL_PROPERTY(QString, ArchiveDir)
    QUILL_PROPERTY(QString, Client)
    QUILL_PROPERTY(QString, ClientWebsite)
    QUILL_PROPERTY(QString, BaseUrl)
    QUILL_PROPERTY(QString, PostLocation)
    QUILL_PROPERTY(QString, NewsBurstUrl)
    QUILL_PROPERTY(QString, AspUtil)

public:
    clsProperties();
    ~clsProperties();

    // Orders are placed on behalf of another user. The first assignment also fixes
    // CanLoginByRef, which keeps the account's first answer while LoginByRef follows the user.
    void setLoginByRef(bool v);
    bool IsLoginByRef() const { return m_LoginByRef; }
    bool CanLoginByRef() const { return m_CanLoginByRef; }

    // True when ServerURL, UserName or Password is empty.
    bool IsEmpty() const;

    clsConfig& oConfig() const { return *m_oConfig; }

    // The address exactly as typed; also sets BaseUrl ("https://" added unless it starts with "http").
    QString ServerURL() const { return m_ServerURL; }
    void setServerURL(const QString& v);

private:
    bool m_LoginByRef = false;
    bool m_CanLoginByRef = false;
    bool m_LoginByRefAssigned = false;
    QString m_ServerURL;
    std::unique_ptr<clsConfig> m_oConfig;
};

#undef QUILL_PROPERTY

// "https://" in front of an address unless its first four characters are "http" in any case.
QString WithHttpsScheme(const QString& address);
