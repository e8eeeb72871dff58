#include "VendorSim.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonDocument>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QTest>
#include <QTimer>
#include <QUrl>

namespace {

constexpr int StartTimeoutMs = 10000;
constexpr int ControlTimeoutMs = 5000;

void failTest(const QString &message)
{
    qWarning("VendorSim: %s", qPrintable(message));
    if (QTest::currentTestFunction())
        QTest::qFail(qPrintable(message), __FILE__, __LINE__);
}

QString encoded(const QString &value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

} // namespace

VendorSim::VendorSim(const QString &seedFile)
    : m_seedFile(seedFile.isEmpty() ? demoSeedPath() : seedFile)
{
    m_network.setProxy(QNetworkProxy::NoProxy);
}

VendorSim::~VendorSim()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

QString VendorSim::sourceDir()
{
#ifdef QUILL_SOURCE_DIR
    return QStringLiteral(QUILL_SOURCE_DIR);
#else
    // Without the build's definition, assume the usual build folder inside the source tree
    // (<source>/<build>/bin/<test>).
    const QString fromEnv = qEnvironmentVariable("QUILL_SOURCE_DIR");
    if (!fromEnv.isEmpty())
        return fromEnv;
    return QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../..")).absolutePath();
#endif
}

QString VendorSim::demoSeedPath()
{
    return sourceDir() + QStringLiteral("/tools/vendor-sim/seed/demo.json");
}

QString VendorSim::demoCaseDir(const QString &caseName)
{
    return sourceDir() + QStringLiteral("/tools/vendor-sim/demo/") + caseName;
}

QString VendorSim::executablePath()
{
    const QString fromEnv = qEnvironmentVariable("QUILL_VENDOR_SIM");
    if (!fromEnv.isEmpty())
        return fromEnv;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/quill-vendor-sim");
}

bool VendorSim::start()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(executablePath(), {QStringLiteral("--port"), QStringLiteral("0"),
                                       QStringLiteral("--seed"), m_seedFile});
    if (!m_process.waitForStarted(StartTimeoutMs)) {
        qWarning("VendorSim: cannot start %s: %s", qPrintable(executablePath()),
                 qPrintable(m_process.errorString()));
        return false;
    }
    QElapsedTimer timer;
    timer.start();
    while (!m_process.canReadLine() && timer.elapsed() < StartTimeoutMs
           && m_process.state() == QProcess::Running)
        m_process.waitForReadyRead(100);
    const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
    const QString prefix = QStringLiteral("listening on http://127.0.0.1:");
    if (!line.startsWith(prefix)) {
        qWarning("VendorSim: unexpected first line \"%s\"", qPrintable(line));
        return false;
    }
    m_port = quint16(line.mid(prefix.size()).toUInt());
    return m_port != 0;
}

QString VendorSim::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

QByteArray VendorSim::control(const QByteArray &verb, const QString &command, const QByteArray &body)
{
    QNetworkRequest request(QUrl(baseUrl() + QStringLiteral("/__sim/") + command));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/octet-stream"));
    QBuffer *payload = new QBuffer;
    payload->setData(body);
    QNetworkReply *reply = m_network.sendCustomRequest(request, verb, payload);
    payload->setParent(reply);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(ControlTimeoutMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    QByteArray answer;
    if (!reply->isFinished()) {
        reply->abort();
        failTest(QStringLiteral("control %1 timed out").arg(command));
    } else if (reply->error() != QNetworkReply::NoError) {
        failTest(QStringLiteral("control %1 failed: %2 %3")
                     .arg(command, reply->errorString(), QString::fromUtf8(reply->readAll())));
    } else {
        answer = reply->readAll();
    }
    reply->deleteLater();
    return answer;
}

void VendorSim::script(const QString &action, const QString &body, int times)
{
    scriptStatus(action, 200, body, times);
}

void VendorSim::scriptStatus(const QString &action, int httpStatus, const QString &body, int times)
{
    control("POST", QStringLiteral("script?action=%1&times=%2&status=%3").arg(encoded(action)).arg(times).arg(httpStatus),
            body.toUtf8());
}

void VendorSim::scriptRedirect(const QString &action, int httpStatus, const QString &location)
{
    control("POST", QStringLiteral("script?action=%1&status=%2&location=%3")
                        .arg(encoded(action)).arg(httpStatus).arg(encoded(location)));
}

void VendorSim::scriptTrickle(const QString &action, const QString &body, int msPerByte)
{
    control("POST", QStringLiteral("script?action=%1&trickleMs=%2").arg(encoded(action)).arg(msPerByte), body.toUtf8());
}

void VendorSim::scriptSized(const QString &action, const QString &piece, int bytes)
{
    control("POST", QStringLiteral("script?action=%1&size=%2").arg(encoded(action)).arg(bytes), piece.toUtf8());
}

void VendorSim::scriptDrop(const QString &action, int times)
{
    control("POST", QStringLiteral("drop?action=%1&times=%2").arg(encoded(action)).arg(times));
}

void VendorSim::scriptDropAfterHandling(const QString &action, int times)
{
    control("POST", QStringLiteral("drop?action=%1&times=%2&after=1").arg(encoded(action)).arg(times));
}

void VendorSim::setLatency(int ms)
{
    control("POST", QStringLiteral("latency?ms=%1").arg(ms));
}

QStringList VendorSim::requests()
{
    return QString::fromUtf8(control("GET", QStringLiteral("requests"))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void VendorSim::clearRequests()
{
    control("POST", QStringLiteral("requests/clear"));
}

void VendorSim::reset()
{
    control("POST", QStringLiteral("reset"));
}

void VendorSim::setStatusPolls(int polls)
{
    control("POST", QStringLiteral("config?statusPolls=%1").arg(polls));
}

void VendorSim::setPdfPolls(int polls)
{
    control("POST", QStringLiteral("config?pdfPolls=%1").arg(polls));
}

void VendorSim::setLatestVersion(const QString &version)
{
    control("POST", QStringLiteral("config?latestVersion=%1").arg(encoded(version)));
}

QJsonArray VendorSim::reports()
{
    return QJsonDocument::fromJson(control("GET", QStringLiteral("reports"))).array();
}
