#include "BenchServer.h"

#include "platform/HttpExchange.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QRegularExpression>

namespace {

QString control(const QString& baseUrl, const QString& method, const QString& command)
{
    const auto exchange =
        HttpExchange::Start(method, baseUrl + QStringLiteral("/__sim/") + command, HttpPolicy(), true);
    if (!exchange->isFinished()) {
        QEventLoop loop;
        QObject::connect(exchange.get(), &HttpExchange::finished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return QString::fromUtf8(exchange->result().body);
}

} // namespace

namespace BenchServer {

ServiceOutcome Await(const std::function<void(QObject* context, ServiceReply done)>& start)
{
    // A benchmark may wait: it is a tool, not the program.
    QObject context;
    QEventLoop loop;
    ServiceOutcome outcome;
    start(&context, [&](const ServiceOutcome& heard) {
        outcome = heard;
        loop.quit();
    });
    loop.exec();
    return outcome;
}

QString Program()
{
    const QString fromEnv = qEnvironmentVariable("QUILL_VENDOR_SIM");
    if (!fromEnv.isEmpty())
        return fromEnv;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/quill-vendor-sim");
}

QString Start(QProcess& server, const QString& seedFile)
{
    QStringList arguments{QStringLiteral("--port"), QStringLiteral("0")};
    if (!seedFile.isEmpty())
        arguments << QStringLiteral("--seed") << seedFile;
    server.start(Program(), arguments);
    if (!server.waitForStarted(10000))
        return {};
    static const QRegularExpression listening(QStringLiteral("listening on (\\S+)"));
    QByteArray output;
    while (!output.contains('\n') && server.waitForReadyRead(10000))
        output += server.readAllStandardOutput();
    const auto match = listening.match(QString::fromUtf8(output));
    return match.hasMatch() ? match.captured(1) : QString();
}

void SetLatency(const QString& baseUrl, int ms)
{
    control(baseUrl, QStringLiteral("POST"), QStringLiteral("latency?ms=") + QString::number(ms));
}

void Configure(const QString& baseUrl, const QString& settings)
{
    control(baseUrl, QStringLiteral("POST"), QStringLiteral("config?") + settings);
}

QStringList Requests(const QString& baseUrl)
{
    return control(baseUrl, QStringLiteral("GET"), QStringLiteral("requests"))
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void ClearRequests(const QString& baseUrl)
{
    control(baseUrl, QStringLiteral("POST"), QStringLiteral("requests/clear"));
}

} // namespace BenchServer
