// Measures start-up against the stand-in vendor server with a fixed server latency, once with
// every request waiting for the one before it ($QUILLCLIENT_ONE_BY_ONE=1) and once as the
// program runs by default (independent reads sent together), next to the floor that
// one-after-another requests cannot beat (requests x latency). Two figures per run:
//  - server wait: from the first start-up request's arrival until the answer to the last one
//    left (its arrival plus the latency): what the user waits for the server;
//  - total: from starting quillclient until that last answer (process start included).
//
// Usage: quill-bench-startup [latency-ms=50] [runs=5]
// The loan is the demo case "recent" (report found, five days old); the user is "demo".

#include "BenchServer.h"

#include "platform/AppError.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kGiveUpMs = 60000;
// The sixteen requests of a start-up that finds a report: three account checks, the search,
// its status and date look-ups and the ten account-refresh reads.
const QStringList kStartupActions = {
    "PASSWORDEXPIRED", "NEWERVERSION",      "CROSS_COMPANY_REISSUE", "FIND_REPORT",
    "GETREPORTSTATUS", "DATEREQUESTED",     "LOGINBYREFERENCE",      "REQUESTBUREAURIGHTS",
    "GETDEPARTMENTID", "GETSUPPLEMENTPAGE", "GETRMCRPAGE",           "GETSUMMARYPAGE",
    "CHECKMESSAGES",   "GETABOUT",          "GETREPORTLISTPAGE",     "CHANGEPASSWORDRIGHTS"};

struct Run {
    qint64 totalMs = -1;  // client start until the last answer
    qint64 serverMs = -1; // first request's arrival until the last answer
    int requests = 0;
};

bool writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// Fresh folders holding complete settings and the demo loan.
QProcessEnvironment prepareFolders(const QTemporaryDir& dir, const QString& baseUrl)
{
    const QString home = dir.filePath(QStringLiteral("home"));
    const QString config = dir.filePath(QStringLiteral("config"));
    QFile demoLoan(QStringLiteral(QUILL_SOURCE_DIR "/tools/vendor-sim/demo/recent/EXPORT.DAT"));
    demoLoan.open(QIODevice::ReadOnly);
    writeFile(home + QStringLiteral("/receive/EXPORT.DAT"), demoLoan.readAll());
    writeFile(config + QStringLiteral("/QuillClient/OQCREDIT.ini"),
              "[Main]\nServerURL=" + baseUrl.toUtf8() + "\nUserName=demo\nPassword=Demo2026pass\n");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QUILLCLIENT_HOME"), home);
    environment.insert(QStringLiteral("QUILLCLIENT_CONFIG"), config);
    environment.insert(QStringLiteral("QUILL_WINDOWS_DIR"), dir.filePath(QStringLiteral("windows")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The news page is handed to a browser that returns at once.
    environment.insert(QStringLiteral("BROWSER"), QStringLiteral("true"));
    return environment;
}

QString actionOf(const QString& line)
{
    static const QRegularExpression action(QStringLiteral("[?&][Aa]ction=([A-Z_]+)"));
    const auto match = action.match(line);
    return match.hasMatch() ? match.captured(1) : QString();
}

Run measureOnce(const QString& baseUrl, int latencyMs, bool oneByOne)
{
    QTemporaryDir dir;
    BenchServer::ClearRequests(baseUrl);
    QProcess client;
    QProcessEnvironment environment = prepareFolders(dir, baseUrl);
    if (oneByOne)
        environment.insert(QStringLiteral("QUILLCLIENT_ONE_BY_ONE"), QStringLiteral("1"));
    client.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    client.start(QCoreApplication::applicationDirPath() + QStringLiteral("/quillclient"), {});
    Run run;
    QSet<QString> seen;
    qint64 first = -1;
    qint64 last = -1;
    int lines = 0;
    while (clock.elapsed() < kGiveUpMs && seen.size() < kStartupActions.size()) {
        const QStringList requests = BenchServer::Requests(baseUrl);
        const qint64 now = clock.elapsed();
        for (; lines < requests.size(); ++lines) {
            const QString action = actionOf(requests.at(lines));
            if (!kStartupActions.contains(action) || seen.contains(action))
                continue;
            seen.insert(action);
            if (first < 0)
                first = now;
            last = now;
        }
        run.requests = lines;
        QThread::msleep(1);
    }
    if (seen.size() == kStartupActions.size()) {
        run.totalMs = last + latencyMs;
        run.serverMs = last - first + latencyMs;
    }
    client.kill();
    client.waitForFinished(5000);
    return run;
}

qint64 median(QList<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int latencyMs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 50;
    const int runs = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 5;
    QTemporaryDir home; // the benchmark's own errors.log
    qputenv("QUILLCLIENT_HOME", QFile::encodeName(home.path()));
    QProcess server;
    const QString baseUrl =
        BenchServer::Start(server, QStringLiteral(QUILL_SOURCE_DIR "/tools/vendor-sim/seed/demo.json"));
    if (baseUrl.isEmpty()) {
        std::fprintf(stderr, "cannot start %s\n", qPrintable(BenchServer::Program()));
        return 2;
    }
    const qint64 floor = qint64(kStartupActions.size()) * latencyMs;
    try {
        BenchServer::SetLatency(baseUrl, latencyMs);
        for (const bool oneByOne : {true, false}) {
            const char* mode = oneByOne ? "one after another" : "overlapped";
            QList<qint64> server;
            QList<qint64> total;
            for (int i = 0; i < runs; ++i) {
                const Run run = measureOnce(baseUrl, latencyMs, oneByOne);
                if (run.serverMs < 0) {
                    std::fprintf(stderr, "%s, run %d: not every start-up request arrived\n", mode, i + 1);
                    return 1;
                }
                std::printf("%s, run %d: server wait %lld ms, total %lld ms (%d requests)\n", mode, i + 1, run.serverMs,
                            run.totalMs, run.requests);
                server << run.serverMs;
                total << run.totalMs;
            }
            const qint64 wait = median(server);
            std::printf("%s: median of %d: server wait %lld ms | floor %lld ms (%lld x %d ms) | %.2f x floor | "
                        "total %lld ms\n",
                        mode, runs, wait, floor, qint64(kStartupActions.size()), latencyMs,
                        floor > 0 ? double(wait) / double(floor) : 0.0, median(total));
        }
    } catch (const AppError& e) {
        std::fprintf(stderr, "control request failed: %s\n", qPrintable(e.Description));
        return 2;
    }
    server.kill();
    server.waitForFinished(5000);
    return 0;
}
