// Downloads a report PDF of a given size from the stand-in vendor server through GetReportPDF
// (one GET_PDF poll, the HTTP GET, the whole-file write into the borrower folder) and the same
// file with curl, alternately, and reports the medians and the peak resident memory of both.
//
// Usage: quill-bench-pdf [megabytes=5] [runs=7]
// Everything stays on 127.0.0.1. Needs curl and GNU time (/usr/bin/time, Debian package time).

#include "BenchServer.h"

#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/MessageBoxes.h"
#include "platform/Seam.h"
#include "service/ParamBlock.h"
#include "service/ServiceOutcome.h"
#include "service/basReportPdf.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>
#include <cstdio>

namespace {

// A box the program would show ends up on stderr: the benchmark has no windows.
class PrintedBoxes : public MessageBoxes
{
public:
    int show(const QString& text, int, const QString& title) override
    {
        std::fprintf(stderr, "[%s] %s\n", qPrintable(title), qPrintable(text));
        return vbOK;
    }
};

const QString kReportId = QStringLiteral("5A1E0002-0000-4000-8000-00000000D002");

// A body the client accepts as a PDF: the header, then filler up to the size.
QByteArray pdfOfSize(qsizetype bytes)
{
    QByteArray body("%PDF-1.4\n%bench\n");
    body.reserve(bytes);
    while (body.size() < bytes)
        body += QByteArray("0123456789abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ012345678\n");
    body.resize(bytes);
    return body;
}

// The next `times` PDF downloads answer with the body (the control takes the answer as its body).
// Sent from here, so the peak memory of the curl processes is that of the downloads alone.
bool scriptPdf(const QString& baseUrl, const QByteArray& body, int times)
{
    QNetworkAccessManager network;
    QNetworkRequest request(QUrl(baseUrl + QStringLiteral("/__sim/script?action=PDFFILE&times=%1").arg(times)));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/pdf"));
    QNetworkReply* reply = network.post(request, body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const bool ok = reply->error() == QNetworkReply::NoError;
    reply->deleteLater();
    return ok;
}

qint64 memoryKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// The settings of the demo user, and a data folder with BORROWER/ named by WINQUILL.INI.
void prepare(const QTemporaryDir& dir, const QString& baseUrl)
{
    const QString data = dir.filePath(QStringLiteral("quill/data"));
    QDir().mkpath(data + QStringLiteral("/BORROWER"));
    QDir().mkpath(dir.filePath(QStringLiteral("windows")));
    QFile ini(dir.filePath(QStringLiteral("windows/WINQUILL.INI")));
    ini.open(QIODevice::WriteOnly);
    ini.write("[Directories]\r\nFolder0=" + data.toUtf8() + "\r\n");
    ini.close();
    qputenv("QUILLCLIENT_HOME", QFile::encodeName(dir.path()));
    qputenv("QUILL_WINDOWS_DIR", QFile::encodeName(dir.filePath(QStringLiteral("windows"))));
    SetProps(std::make_shared<clsProperties>());
    Props().setServerURL(baseUrl);
    Props().setPostLocation(QStringLiteral("/cia/cgi/marrowCGI.exe?"));
    Props().setUserName(QStringLiteral("demo"));
    Props().setPassword(QStringLiteral("Demo2026pass"));
    // Polls with the shortest pause: after its first PENDING the demo report's PDF is ready at every poll.
    Props().setPollingSleepTime(1);
}

// GetReportPDF from its start until it reports; true with the saved path, false with the error text.
bool getReportPdf(const QString& block, QString& path)
{
    QEventLoop loop;
    bool ok = false;
    GetReportPDF(block, QStringLiteral("BENCH"), &loop, [&](const ServiceOutcome& outcome) {
        ok = outcome.Read(path);
        loop.quit();
    });
    loop.exec();
    return ok;
}

qint64 clientRun()
{
    const QString block = ParamBlock(QStringLiteral("GET_PDF")).add(QStringLiteral("guid"), kReportId).text();
    QElapsedTimer clock;
    clock.start();
    QString path;
    if (!getReportPdf(block, path))
        throw AppError(1, QStringLiteral("GetReportPDF failed: ") + path);
    if (path.isEmpty() || QFileInfo(path).size() == 0)
        throw AppError(1, QStringLiteral("GetReportPDF saved nothing"));
    const qint64 ns = clock.nsecsElapsed();
    QFile::remove(path);
    return ns;
}

// The whole curl run (process start included) and curl's own transfer time.
struct CurlTimes {
    qint64 wholeNs = 0;
    qint64 transferNs = 0;
    qint64 peakKb = 0;
};

const QString kTime = QStringLiteral("/usr/bin/time");

CurlTimes curlRun(const QString& url, const QString& target)
{
    QElapsedTimer clock;
    clock.start();
    // GNU time reports curl's own peak (a child's rusage would include the forked copy of this process).
    QProcess curl;
    curl.start(kTime,
               {QStringLiteral("-f"), QStringLiteral("%M"), QStringLiteral("curl"), QStringLiteral("-s"),
                QStringLiteral("-f"), QStringLiteral("-w"), QStringLiteral("%{time_total}"), QStringLiteral("-o"),
                target, url});
    if (!curl.waitForFinished(60000) || curl.exitCode() != 0)
        throw AppError(1, QStringLiteral("curl failed (needs curl and GNU time)"));
    CurlTimes times;
    times.wholeNs = clock.nsecsElapsed();
    times.transferNs = qint64(QString::fromLatin1(curl.readAllStandardOutput()).toDouble() * 1e9);
    times.peakKb =
        QString::fromLatin1(curl.readAllStandardError()).trimmed().section(QLatin1Char('\n'), -1).toLongLong();
    QFile::remove(target);
    return times;
}

double medianMs(QList<qint64> ns)
{
    std::sort(ns.begin(), ns.end());
    return double(ns.at(ns.size() / 2)) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    PrintedBoxes boxes;
    Seam<MessageBoxes>::set(&boxes);
    const int megabytes = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 5;
    const int runs = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 7;
    QTemporaryDir dir;
    QProcess server;
    const QString baseUrl =
        BenchServer::Start(server, QStringLiteral(QUILL_SOURCE_DIR "/tools/vendor-sim/seed/demo.json"));
    if (baseUrl.isEmpty()) {
        std::fprintf(stderr, "cannot start %s\n", qPrintable(BenchServer::Program()));
        return 2;
    }
    prepare(dir, baseUrl);
    if (!scriptPdf(baseUrl, pdfOfSize(qsizetype(megabytes) * 1024 * 1024), 2 * runs + 2)) {
        std::fprintf(stderr, "cannot script the PDF download\n");
        server.kill();
        server.waitForFinished(5000);
        return 2;
    }
    const QString url = baseUrl + QStringLiteral("/cia/pdf/bench.pdf");
    const qint64 rssBefore = memoryKb("VmRSS:");
    QList<qint64> client, viaCurl, curlTransfer;
    qint64 curlPeakKb = 0;
    try {
        clientRun(); // warm-up of both: connection, page cache
        curlRun(url, dir.filePath(QStringLiteral("curl.pdf")));
        for (int i = 0; i < runs; ++i) {
            client << clientRun();
            const CurlTimes times = curlRun(url, dir.filePath(QStringLiteral("curl.pdf")));
            viaCurl << times.wholeNs;
            curlTransfer << times.transferNs;
            curlPeakKb = std::max(curlPeakKb, times.peakKb);
        }
    } catch (const AppError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Description));
        server.kill();
        server.waitForFinished(5000);
        return 1;
    }
    const double clientMs = medianMs(client), curlMs = medianMs(viaCurl);
    std::printf("%d MB PDF, %d runs each, 127.0.0.1\n", megabytes, runs);
    std::printf("client (GET_PDF poll + download + write): median %.1f ms; resident %lld kB before, peak %lld kB\n",
                clientMs, rssBefore, memoryKb("VmHWM:"));
    std::printf("curl (download + write):                  median %.1f ms; peak %lld kB\n", curlMs, curlPeakKb);
    std::printf("curl's own transfer time (without its start): median %.1f ms\n", medianMs(curlTransfer));
    std::printf("client / curl: %.2f (against curl's transfer time alone: %.2f)\n", clientMs / curlMs,
                clientMs / medianMs(curlTransfer));
    std::fflush(stdout);
    server.kill();
    server.waitForFinished(5000);
    return 0;
}
