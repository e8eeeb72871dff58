#include "VendorSim.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
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

VendorSim::VendorSim()
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

QString VendorSim::executablePath()
{
    const QString fromEnv = qEnvironmentVariable("QUILL_VENDOR_SIM");
    return fromEnv.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/quill-vendor-sim") : fromEnv;
}

bool VendorSim::start()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(executablePath(),
                    {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--seed"),
                     sourceDir() + QStringLiteral("/tools/vendor-sim/seed/demo.json")});
    if (!m_process.waitForStarted(StartTimeoutMs)) {
        qWarning("VendorSim: cannot start %s: %s", qPrintable(executablePath()), qPrintable(m_process.errorString()));
        return false;
    }
    const QDeadlineTimer deadline(StartTimeoutMs);
    while (!m_process.canReadLine() && !deadline.hasExpired() && m_process.state() == QProcess::Running)
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
    QNetworkReply* reply = m_network.sendCustomRequest(request, verb, body);
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
