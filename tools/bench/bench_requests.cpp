// Sends account-form requests to the stand-in vendor server over loopback, without and with a
// server latency, and prints requests per second and the mean time per request. With latency
// the mean must stay within 10% of latency + the mean without it; the exit code says whether
// it did.
//
// Usage: quill-bench-requests [requests=200] [latency-ms=20]
// The server is $QUILL_VENDOR_SIM, else quill-vendor-sim next to this program.

#include "BenchServer.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "service/ParamBlock.h"
#include "service/basActions.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kWarmUp = 5;

// Mean milliseconds per request over count GETDEPARTMENTID operations; -1 when one failed.
double meanMs(int count)
{
    const QString block =
        ParamBlock(QStringLiteral("GETDEPARTMENTID")).add(QStringLiteral("USER"), QStringLiteral("demo")).text();
    const auto request = [&block](QObject* context, ServiceReply done) { GetDepartmentID(block, context, done); };
    for (int i = 0; i < kWarmUp; ++i)
        if (!BenchServer::Await(request).ok())
            return -1;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i)
        if (!BenchServer::Await(request).ok())
            return -1;
    return double(clock.nsecsElapsed()) / 1e6 / count;
}

void report(const char* label, int count, double mean)
{
    std::printf("%-22s %5d requests  %9.1f requests/s  mean %7.3f ms/request\n", label, count, 1000.0 / mean, mean);
}

int benchmark(const QString& baseUrl, int count, int latencyMs)
{
    Props().setServerURL(baseUrl);
    Props().setAspUtil(QStringLiteral("/utils/CGI_Utilities.asp?"));
    BenchServer::SetLatency(baseUrl, 0);
    const double plain = meanMs(count);
    BenchServer::SetLatency(baseUrl, latencyMs);
    const double delayed = meanMs(count);
    BenchServer::SetLatency(baseUrl, 0);
    if (plain < 0 || delayed < 0) {
        std::fprintf(stderr, "a request failed:\n");
        return 2;
    }
    report("no latency", count, plain);
    const QByteArray label = QStringLiteral("latency %1 ms").arg(latencyMs).toUtf8();
    report(label.constData(), count, delayed);
    const double bound = 1.1 * (latencyMs + plain);
    const bool within = delayed <= bound;
    std::printf("latency + no-latency mean = %.3f ms; bound (+10%%) %.3f ms: %s\n", latencyMs + plain, bound,
                within ? "within" : "EXCEEDED");
    return within ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200;
    const int latencyMs = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 20;
    if (count <= 0 || latencyMs < 0) {
        std::fprintf(stderr, "usage: quill-bench-requests [requests] [latency-ms]\n");
        return 2;
    }
    QTemporaryDir home; // the program folder, for errors.log
    qputenv("QUILLCLIENT_HOME", QFile::encodeName(home.path()));

    QProcess server;
    const QString baseUrl = BenchServer::Start(server);
    if (baseUrl.isEmpty()) {
        std::fprintf(stderr, "cannot start %s\n", qPrintable(BenchServer::Program()));
        return 2;
    }
    int status = 2;
    try {
        status = benchmark(baseUrl, count, latencyMs);
    } catch (const AppError& e) {
        std::fprintf(stderr, "control request failed: %s\n", qPrintable(e.Description));
    }
    if (status == 2) {
        QFile log(home.filePath(QStringLiteral("errors.log")));
        if (log.open(QIODevice::ReadOnly))
            std::fprintf(stderr, "%s", log.readAll().constData());
    }
    server.kill();
    server.waitForFinished(5000);
    return status;
}
