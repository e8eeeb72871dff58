#include "core/clsProperties.h"

#include "core/clsConfig.h"

clsProperties::clsProperties() : m_oConfig(std::make_unique<clsConfig>())
{
}

clsProperties::~clsProperties() = default;

void clsProperties::setLoginByRef(bool v)
{
    m_LoginByRef = v;
    if (!m_LoginByRefAssigned) {
        m_CanLoginByRef = v;
        m_LoginByRefAssigned = true;
    }
}

bool clsProperties::IsEmpty() const
{
    return m_ServerURL.isEmpty() || m_UserName.isEmpty() || m_Password.isEmpty();
}

void clsProperties::setServerURL(const QString& v)
{
    m_BaseUrl = WithHttpsScheme(v);
    m_ServerURL = v;
}

QString WithHttpsScheme(const QString& address)
{
    if (address.left(4).toLower() == QLatin1String("http"))
        return address;
    return QStringLiteral("https://") + address;
}
