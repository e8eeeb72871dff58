#include "VendorSim.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QNetworkProxy>
#include <QTest>
#include <QTimer>

namespace {

constexpr int StartTimeoutMs = 10000;
constexpr int ControlTimeoutMs = 5000;

void failTest(const QString& message)
{
    qWarning("VendorSim: %s", qPrintable(message));
    if (QTest::currentTestFunction())
        QTest::qFail(qPrintable(message), __FILE__, __LINE__);
}

} // namespace

VendorSim::VendorSim(const QString& seedFile)
    : m_seedFile(seedFile.isEmpty() ? sourceDir() + QStringLiteral("/tools/vendor-sim/seed/demo.json") : seedFile)
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

QString VendorSim::demoCaseDir(const QString& caseName)
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
    m_process.start(executablePath(),
                    {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--seed"), m_seedFile});
    if (!m_process.waitForStarted(StartTimeoutMs)) {
        qWarning("VendorSim: cannot start %s: %s", qPrintable(executablePath()), qPrintable(m_process.errorString()));
        return false;
    }
    QElapsedTimer timer;
    timer.start();
    while (!m_process.canReadLine() && timer.elapsed() < StartTimeoutMs && m_process.state() == QProcess::Running)
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

QByteArray VendorSim::control(const QByteArray& verb, const QString& command, const QByteArray& body)
{
    QNetworkRequest request(QUrl(baseUrl() + QStringLiteral("/__sim/") + command));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/octet-stream"));
    QBuffer* payload = new QBuffer;
    payload->setData(body);
    QNetworkReply* reply = m_network.sendCustomRequest(request, verb, payload);
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

QStringList VendorSim::requests()
{
    return QString::fromUtf8(control("GET", QStringLiteral("requests"))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QJsonArray VendorSim::reports()
{
    return QJsonDocument::fromJson(control("GET", QStringLiteral("reports"))).array();
}
