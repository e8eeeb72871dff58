// Measures start-up against the stand-in vendor server with a fixed server latency: the time
// from starting quillclient until the server has received the last account-refresh request,
// next to the floor that one-after-another requests cannot beat (requests x latency).
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
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kGiveUpMs = 60000;
const QString kLastRequest = QStringLiteral("Action=CHANGEPASSWORDRIGHTS");

struct Run {
    qint64 ms = -1;
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

int lastRequestSeen(const QStringList& requests)
{
    for (int i = 0; i < requests.size(); ++i)
        if (requests[i].contains(kLastRequest))
            return i + 1;
    return 0;
}

Run measureOnce(const QString& baseUrl)
{
    QTemporaryDir dir;
    BenchServer::ClearRequests(baseUrl);
    QProcess client;
    client.setProcessEnvironment(prepareFolders(dir, baseUrl));
    QElapsedTimer clock;
    clock.start();
    client.start(QCoreApplication::applicationDirPath() + QStringLiteral("/quillclient"), {});
    Run run;
    while (clock.elapsed() < kGiveUpMs) {
        run.requests = lastRequestSeen(BenchServer::Requests(baseUrl));
        if (run.requests > 0) {
            run.ms = clock.elapsed();
            break;
        }
        QThread::msleep(2);
    }
    client.kill();
    client.waitForFinished(5000);
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int latencyMs = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 50;
    const int runs = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 5;
    QTemporaryDir home;   // the benchmark's own errors.log
    qputenv("QUILLCLIENT_HOME", QFile::encodeName(home.path()));
    QProcess server;
    const QString baseUrl = BenchServer::Start(server, QStringLiteral(QUILL_SOURCE_DIR "/tools/vendor-sim/seed/demo.json"));
    if (baseUrl.isEmpty()) {
        std::fprintf(stderr, "cannot start %s\n", qPrintable(BenchServer::Program()));
        return 2;
    }
    QList<qint64> times;
    try {
        BenchServer::SetLatency(baseUrl, latencyMs);
        for (int i = 0; i < runs; ++i) {
            const Run run = measureOnce(baseUrl);
            if (run.ms < 0) {
                std::fprintf(stderr, "run %d: the last account-refresh request never arrived\n", i + 1);
                return 1;
            }
            const qint64 floor = qint64(run.requests) * latencyMs;
            std::printf("run %d: %lld ms until the last request; %d requests x %d ms = %lld ms floor; overhead %lld ms\n",
                        i + 1, run.ms, run.requests, latencyMs, floor, run.ms - floor);
            times << run.ms;
        }
    } catch (const AppError& e) {
        std::fprintf(stderr, "control request failed: %s\n", qPrintable(e.Description));
        return 2;
    }
    std::sort(times.begin(), times.end());
    std::printf("median %lld ms over %d runs\n", times.at(times.size() / 2), runs);
    server.kill();
    server.waitForFinished(5000);
    return 0;
}
