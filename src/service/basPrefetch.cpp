#include "service/basPrefetch.h"

#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/HttpAnswer.h"
#include "platform/HttpBatch.h"
#include "platform/HttpExchange.h"
#include "platform/HttpNetwork.h"
#include "service/ServiceAction.h"
#include "service/basAccountRefresh.h"
#include "service/basXML.h"

#include <QCoreApplication>

namespace {

// Qt opens up to six connections per server; the request being waited for holds one.
constexpr int kExtraConnections = 5;

HttpBatch& batch()
{
    static HttpBatch held;
    static const bool watched = [] {
        // The replies belong to the network manager, a child of the application: give them up
        // before the application takes them with it.
        if (QCoreApplication::instance())
            QObject::connect(QCoreApplication::instance(), &QObject::destroyed, [] { held.clear(); });
        return true;
    }();
    Q_UNUSED(watched);
    return held;
}

bool& enabled()
{
    static bool on = qEnvironmentVariableIntValue("QUILLCLIENT_ONE_BY_ONE") != 1;
    return on;
}

using FoundReads = std::function<QList<Prefetch::Read>(const QString&)>;

FoundReads& foundReads()
{
    static FoundReads reads;
    return reads;
}

// An answer that its step would refuse (a web page instead of a protocol answer) is passed
// on to nothing: the step handles it when it takes it.
bool isProtocolAnswer(const QString& answer)
{
    return !answer.trimmed().startsWith(QLatin1Char('<'));
}

void sendOne(const Prefetch::Read& read)
{
    if (!enabled())
        return;
    QString fields;
    if (!TryBuildKeyValueString(read.block, fields))
        return; // the step shows the failure when it gets there
    const QString address = ServiceAction(read.operation, read.action).address(fields);
    std::function<void(const HttpResult&)> answered;
    if (read.answered) {
        answered = [then = read.answered](const HttpResult& result) {
            if (result.failure)
                return; // the step meets the failure itself
            const QString text = DecodeAnswer(result.body, result.contentType);
            if (isProtocolAnswer(text))
                then(text);
        };
    }
    batch().add(address, std::move(answered));
}

} // namespace

namespace Prefetch {

bool Enabled()
{
    return enabled();
}

void SetEnabled(bool on)
{
    enabled() = on;
    if (!on)
        batch().clear();
}

void WarmConnections()
{
    if (!enabled())
        return;
    HttpNetwork::WarmConnections(Props().BaseUrl(), kExtraConnections);
}

void Send(const QList<Read>& reads)
{
    for (const Read& read : reads)
        sendOne(read);
}

std::unique_ptr<HttpExchange> Claim(const QString& address)
{
    return batch().release(address);
}

void Discard()
{
    batch().clear();
}

QStringList Held()
{
    return batch().addresses();
}

FoundReportReads::FoundReportReads(std::function<QList<Read>(const QString&)> reads)
{
    foundReads() = std::move(reads);
}

FoundReportReads::~FoundReportReads()
{
    foundReads() = nullptr;
}

void ReportFound(const QString& reportID)
{
    if (reportID.isEmpty())
        return;
    QList<Read> reads{
        {QStringLiteral("GetReportStatus"), QStringLiteral("GETREPORTSTATUS"), ReportStatusBlock(reportID)}};
    if (foundReads())
        reads += foundReads()(reportID);
    Send(reads);
}

} // namespace Prefetch
