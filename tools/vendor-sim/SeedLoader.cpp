#include "SeedLoader.h"

#include "VendorState.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// JSON keys of the three bureau slots, in slot order.
const char* const bureauKeys[BureauCount] = {"experian", "equifax", "transunion"};

QString digitsOnly(const QString& text)
{
    QString digits;
    for (QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    }
    return digits;
}

} // namespace

QString SeedLoader::loadFile(const QString& path, VendorState& state) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read seed %1: %2").arg(path, file.errorString());
    return load(file.readAll(), state);
}

QString SeedLoader::load(const QByteArray& json, VendorState& state) const
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (!doc.isObject())
        return QStringLiteral("seed is not a JSON object: %1").arg(parseError.errorString());
    const QJsonObject root = doc.object();
    state.clear();
    readKnobs(root.value(QLatin1String("server")).toObject(), state);
    for (const QJsonValue& a : root.value(QLatin1String("accounts")).toArray())
        state.addAccount(readAccount(a.toObject()));
    for (const QJsonValue& r : root.value(QLatin1String("reports")).toArray())
        state.addReport(readReport(r.toObject(), state));
    return QString();
}

void SeedLoader::readKnobs(const QJsonObject& server, VendorState& state) const
{
    ServerKnobs& k = state.knobs;
    k.statusPolls = server.value(QLatin1String("statusPolls")).toInt(k.statusPolls);
    k.pdfPolls = server.value(QLatin1String("pdfPolls")).toInt(k.pdfPolls);
    k.latestVersion = server.value(QLatin1String("latestVersion")).toString(k.latestVersion);
    k.downloadPath = server.value(QLatin1String("downloadPath")).toString(k.downloadPath);
    k.supportPhone = server.value(QLatin1String("supportPhone")).toString();
    k.supportEmail = server.value(QLatin1String("supportEmail")).toString();
}

Account SeedLoader::readAccount(const QJsonObject& json)
{
    Account a;
    a.userName = json.value(QLatin1String("userName")).toString();
    a.password = json.value(QLatin1String("password")).toString();
    a.longName = json.value(QLatin1String("longName")).toString(a.userName);
    a.company = json.value(QLatin1String("company")).toString();
    a.department = json.value(QLatin1String("department")).toString();
    const QJsonObject rights = json.value(QLatin1String("bureauRights")).toObject();
    for (int b = 0; b < BureauCount; ++b)
        a.bureauRights[b] = rights.value(QLatin1String(bureauKeys[b])).toBool(true);
    a.passwordExpired = json.value(QLatin1String("passwordExpired")).toBool(false);
    a.canChangePassword = json.value(QLatin1String("canChangePassword")).toBool(true);
    a.crossCompanyReissue = json.value(QLatin1String("crossCompanyReissue")).toBool(false);
    for (const QJsonValue& u : json.value(QLatin1String("loginByReference")).toArray())
        a.loginByReference.append(u.toString());
    a.phone = json.value(QLatin1String("phone")).toString();
    a.extension = json.value(QLatin1String("extension")).toString();
    a.email = json.value(QLatin1String("email")).toString();
    a.newsUnread = json.value(QLatin1String("news")).toBool(false);
    return a;
}

Applicant SeedLoader::readApplicant(const QJsonObject& json)
{
    Applicant p;
    p.firstName = json.value(QLatin1String("firstName")).toString();
    p.lastName = json.value(QLatin1String("lastName")).toString();
    p.middleName = json.value(QLatin1String("middleName")).toString();
    p.suffix = json.value(QLatin1String("suffix")).toString();
    p.ssn = digitsOnly(json.value(QLatin1String("ssn")).toString());
    p.dob = json.value(QLatin1String("dob")).toString();
    return p;
}

Report SeedLoader::readReport(const QJsonObject& json, VendorState& state) const
{
    Report r;
    r.id = json.value(QLatin1String("id")).toString();
    r.owner = json.value(QLatin1String("owner")).toString();
    r.placedBy = r.owner;
    if (const Account* owner = state.account(r.owner))
        r.company = owner->company;
    r.reissueNumber = json.value(QLatin1String("reissueNumber")).toString();
    r.reference = json.value(QLatin1String("reference")).toString();
    r.borrower = readApplicant(json.value(QLatin1String("borrower")).toObject());
    r.joint = json.contains(QLatin1String("coBorrower"));
    if (r.joint)
        r.coBorrower = readApplicant(json.value(QLatin1String("coBorrower")).toObject());
    const QJsonObject address = json.value(QLatin1String("address")).toObject();
    r.address = address.value(QLatin1String("street")).toString();
    r.city = address.value(QLatin1String("city")).toString();
    r.state = address.value(QLatin1String("state")).toString();
    r.zip = address.value(QLatin1String("zip")).toString();
    r.requested = json.contains(QLatin1String("requested"))
        ? QDate::fromString(json.value(QLatin1String("requested")).toString(), QStringLiteral("MM/dd/yyyy"))
        : m_today.addDays(-json.value(QLatin1String("daysAgo")).toInt(0));
    r.reportType = json.value(QLatin1String("reportType")).toInt(1);
    r.overallStatus = json.value(QLatin1String("status")).toInt(OverallActive);
    const QJsonObject bureaus = json.value(QLatin1String("bureaus")).toObject();
    for (int b = 0; b < BureauCount; ++b)
        r.finalStatus[b] = bureaus.value(QLatin1String(bureauKeys[b])).toInt(StatusNotOrdered);
    r.previousStatus = r.finalStatus;
    r.source = QStringLiteral("seed");
    return r;
}
