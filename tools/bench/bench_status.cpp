// Places an order at the stand-in vendor server and waits for its bureaus in the status window,
// as the pull window's order does (Request, then GetStatus followed by the window), with the
// server holding the bureaus "in progress" for a number of polls. Prints the client's CPU time
// during the wait, as a share of one core over the wait's wall time, and the client's peak
// resident memory. The client is this process (the program's own library, windows on the
// offscreen platform); the server runs apart.
// Exit code 0 when both stay under their targets: CPU under 1% of one core, peak memory under 60 MB.
//
// Usage: quill-bench-status [polls=30] [polling-sleep-ms=200] [orders=1]
// The server is $QUILL_VENDOR_SIM, else quill-vendor-sim next to this program.

#include "BenchServer.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/MessageBoxes.h"
#include "platform/Seam.h"
#include "service/ParamBlock.h"
#include "service/basOrder.h"
#include "service/clsReportStatus.h"
#include "ui/ordering/OrderingWindows.h"
#include "ui/ordering/frmStatus.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

namespace {

constexpr double kCpuTargetPercent = 1.0;
constexpr double kMemoryTargetMb = 60.0;

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double peakResidentMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

QString orderBlock(int order)
{
    return ParamBlock(QStringLiteral("REQUEST"))
        .add(QStringLiteral("Keywords"), QString())
        .add(QStringLiteral("Reference"), QStringLiteral("BENCH %1").arg(order))
        .add(QStringLiteral("FirstName"), QStringLiteral("AVERY"))
        .add(QStringLiteral("LastName"), QStringLiteral("NEWCOMB"))
        .add(QStringLiteral("SSN"), QStringLiteral("900110%1").arg(order, 3, 10, QLatin1Char('0')))
        .add(QStringLiteral("Joint"), QStringLiteral("FALSE"))
        .add(QStringLiteral("EQUIFAX"), QStringLiteral("TRUE"))
        .add(QStringLiteral("EXPERIAN"), QStringLiteral("TRUE"))
        .add(QStringLiteral("TRANSUNION"), QStringLiteral("TRUE"))
        .text();
}

// Nobody answers boxes in a benchmark: each is printed and answered OK.
class PrintedBoxes : public MessageBoxes
{
public:
    int show(const QString& text, int, const QString& title) override
    {
        std::fprintf(stderr, "box \"%s\": %s\n", qPrintable(title), qPrintable(text));
        return vbOK;
    }
};

struct Wait {
    bool ok = false;
    double wallSeconds = 0;
    double cpuSeconds = 0;
    int polls = 0;
};

// One order and its status wait, followed by the status window; the CPU and wall time of the wait
// alone. The wait runs in the application's event loop, which its end leaves.
Wait orderAndWait(const QString& baseUrl, int order)
{
    Wait result;
    QString guid;
    const ServiceOutcome placed =
        BenchServer::Await([order](QObject* context, ServiceReply done) { Request(orderBlock(order), context, done); });
    if (!placed.Read(guid)) {
        std::fprintf(stderr, "the order failed: %s\n", qPrintable(guid));
        return result;
    }
    BenchServer::ClearRequests(baseUrl);
    auto status = std::make_shared<clsReportStatus>();
    QString answer;
    const double cpuBefore = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    const QString block = ParamBlock(QStringLiteral("GET_Status")).add(QStringLiteral("guid"), guid).text();
    OrderWatch* watch = GetStatus(block, status, qApp, [&](const ServiceOutcome& outcome, bool) {
        result.ok = outcome.ok() && status->nStatusEFX() == 4 && status->nStatusEXP() == 4 && status->nStatusTU() == 4;
        answer = outcome.ok() ? outcome.answer : outcome.errorText;
        QCoreApplication::exit(0);
    });
    if (watch)
        frmStatus::Load().Follow(watch);
    QCoreApplication::exec();
    result.wallSeconds = double(clock.nsecsElapsed()) / 1e9;
    result.cpuSeconds = cpuSeconds() - cpuBefore;
    result.polls = int(BenchServer::Requests(baseUrl).size());
    if (!result.ok)
        std::fprintf(stderr, "the wait failed: %s\n", qPrintable(answer));
    return result;
}

int benchmark(const QString& baseUrl, int polls, int sleepMs, int orders)
{
    Props().setServerURL(baseUrl);
    Props().setPostLocation(QStringLiteral("/cia/cgi/marrowCGI.exe?"));
    Props().setUserName(QStringLiteral("demo"));
    Props().setPassword(QStringLiteral("Demo2026pass"));
    Props().setPollingSleepTime(sleepMs);
    BenchServer::Configure(baseUrl, QStringLiteral("statusPolls=%1").arg(polls));
    bool within = true;
    for (int order = 1; order <= orders; ++order) {
        const Wait wait = orderAndWait(baseUrl, order);
        if (!wait.ok)
            return 2;
        const double percent = 100.0 * wait.cpuSeconds / wait.wallSeconds;
        std::printf(
            "order %d: %d status requests in %.2f s, client CPU %.3f s = %.2f%% of one core (target < %.0f%%)\n", order,
            wait.polls, wait.wallSeconds, wait.cpuSeconds, percent, kCpuTargetPercent);
        within = within && percent < kCpuTargetPercent;
    }
    const double peak = peakResidentMb();
    std::printf("client peak resident memory %.1f MB (target < %.0f MB)\n", peak, kMemoryTargetMb);
    within = within && peak < kMemoryTargetMb;
    std::printf("%s\n", within ? "within targets" : "TARGET EXCEEDED");
    return within ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int polls = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 30;
    const int sleepMs = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 200;
    const int orders = argc > 3 ? QString::fromLocal8Bit(argv[3]).toInt() : 1;
    if (polls < 0 || sleepMs <= 0 || orders <= 0 || orders > 999) {
        std::fprintf(stderr, "usage: quill-bench-status [polls] [polling-sleep-ms] [orders]\n");
        return 2;
    }
    QTemporaryDir home; // the program folder, for the logs
    qputenv("QUILLCLIENT_HOME", QFile::encodeName(home.path()));
    RegisterOrderingWindows();
    PrintedBoxes boxes;
    Seam<MessageBoxes>::set(&boxes);

    QProcess server;
    const QString baseUrl =
        BenchServer::Start(server, QStringLiteral(QUILL_SOURCE_DIR "/tools/vendor-sim/seed/demo.json"));
    if (baseUrl.isEmpty()) {
        std::fprintf(stderr, "cannot start %s\n", qPrintable(BenchServer::Program()));
        return 2;
    }
    int status = 2;
    try {
        status = benchmark(baseUrl, polls, sleepMs, orders);
    } catch (const AppError& e) {
        std::fprintf(stderr, "control request failed: %s\n", qPrintable(e.Description));
    }
    server.kill();
    server.waitForFinished(5000);
    return status;
}
