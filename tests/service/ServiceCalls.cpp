#include "ServiceCalls.h"

#include "service/basActions.h"
#include "service/clsReportStatus.h"

#include <QHostAddress>
#include <QMap>
#include <QTcpServer>

#include <functional>

namespace {

using Operation = std::function<bool(const QString&, QString&)>;

const QMap<QString, Operation>& operations()
{
    static const QMap<QString, Operation> table{
        {"CheckPasswordExpired", CheckPasswordExpired}, {"CheckForNewerVersion", CheckForNewerVersion},
        {"CheckCrossCompanyReissue", CheckCrossCompanyReissue}, {"CheckMessages", CheckMessages},
        {"GetAbout", GetAbout}, {"GetChangePasswordRights", GetChangePasswordRights},
        {"GetReportListPage", GetReportListPage}, {"ValidateCredentials", ValidateCredentials},
        {"FindPending", FindPending}, {"GetDateRequested", GetDateRequested},
        {"LoginByReference", LoginByReference}, {"GetSupplementPage", GetSupplementPage},
        {"GetSummaryPage", GetSummaryPage}, {"GetRMCRPage", GetRMCRPage}, {"GetDepartmentID", GetDepartmentID},
        {"RequestBureauRights", RequestBureauRights}, {"GetReportStatus", GetReportStatus},
        {"UpdateLOSVersion", UpdateLOSVersion},
        {"FindReport", [](const QString& block, QString& answer) {
             std::shared_ptr<clsReportStatus> status;
             return FindReport(block, status, answer);
         }},
    };
    return table;
}

} // namespace

bool CallOperation(const QString& name, const QString& block, QString& answer)
{
    const Operation op = operations().value(name);
    if (!op)
        qFatal("no operation named %s", qPrintable(name));
    return op(block, answer);
}

quint16 ClosedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

int ErrorLogEntries(const QByteArray& log)
{
    return int(log.count("Date: "));
}
