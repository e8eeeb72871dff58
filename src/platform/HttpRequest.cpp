#include "platform/HttpRequest.h"

#include "platform/AppError.h"
#include "platform/Secrets.h"
#include "platform/WebAddress.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QStringDecoder>
#include <QTimer>

#include <memory>

namespace {

constexpr int kDefaultTimeoutMs = 60000;
constexpr int kMaxRedirects = 5;
const QString kSource = QStringLiteral("HttpRequest");

// The one manager of the process. It lives as long as the application object.
QNetworkAccessManager& manager()
{
    static QPointer<QNetworkAccessManager> instance;
    if (!instance) {
        QNetworkProxyFactory::setUseSystemConfiguration(true);
        instance = new QNetworkAccessManager(QCoreApplication::instance());
    }
    return *instance;
}

// True while a request waits for its answer; a second request started from a timer or a
// paint during that wait is refused instead of nesting another event loop.
bool& waiting()
{
    static bool flag = false;
    return flag;
}

class WaitGuard
{
public:
    WaitGuard() { waiting() = true; }
    ~WaitGuard() { waiting() = false; }
    WaitGuard(const WaitGuard&) = delete;
    WaitGuard& operator=(const WaitGuard&) = delete;
};

// The empty body of a request sent at most once. Qt resends a request only after rewinding its
// body; this one cannot be rewound, so the network layer ends the reply with
// ContentReSendError instead of sending it a second time.
class OneShotBody : public QIODevice
{
public:
    OneShotBody() { QIODevice::open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    bool reset() override { return false; }
    bool atEnd() const override { return true; }
    qint64 bytesAvailable() const override { return 0; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64) override { return -1; }
};

QUrl parseAddress(const QString& address)
{
    const QUrl url = QUrl::fromEncoded(address.toUtf8(), QUrl::StrictMode);
    if (!url.isValid() || !IsWebAddress(address))
        throw AppError(ErrNo::Transport,
                       QStringLiteral("The address is not a valid http or https address: ") + MaskPasswords(address),
                       kSource);
    return url;
}

// Redirects are followed here, not by Qt: letting Qt follow one (even after our approval)
// sometimes sent the original POST a second time.
// urgent: a request the program waits for now is dispatched before requests sent in advance
// (Qt queues normal and low priority requests together, first come first served).
QNetworkRequest buildRequest(const QUrl& url, bool urgent)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(HttpRequest::TimeoutMs());
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setPriority(urgent ? QNetworkRequest::HighPriority : QNetworkRequest::NormalPriority);
    return request;
}

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

long numberFor(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
        return ErrNo::Unreachable;
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:   // the transfer time-out ends a reply this way
        return ErrNo::Timeout;
    case QNetworkReply::SslHandshakeFailedError:
        return ErrNo::TlsFailure;
    default:
        return ErrNo::Transport;
    }
}

QString descriptionFor(long number, const QNetworkReply& reply, const QString& address)
{
    const QString masked = MaskPasswords(address);
    if (number == ErrNo::Timeout)
        return QStringLiteral("The server did not answer within %1 ms: %2").arg(HttpRequest::TimeoutMs()).arg(masked);
    if (reply.error() == QNetworkReply::ContentReSendError)
        return QStringLiteral("The connection to the server closed before it answered. The request was not sent "
                              "again, so the server may or may not have received it: ") + masked;
    return reply.errorString() + QStringLiteral(" (") + masked + QLatin1Char(')');
}

} // namespace

int HttpRequest::TimeoutMs()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("QUILLCLIENT_HTTP_TIMEOUT_MS", &ok);
    return ok && ms > 0 ? ms : kDefaultTimeoutMs;
}

QByteArray HttpRequest::CharsetOf(const QByteArray& contentType)
{
    const QList<QByteArray> parts = contentType.split(';');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const qsizetype equals = parts[i].indexOf('=');
        if (equals < 0 || parts[i].left(equals).trimmed().toLower() != "charset")
            continue;
        QByteArray value = parts[i].mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2).trimmed();
        return value;
    }
    return QByteArray();
}

void HttpRequest::ReplyDeleter::operator()(QNetworkReply* reply) const
{
    // No answered callback for a request given up; the reply goes once control returns.
    reply->disconnect();
    if (!reply->isFinished())
        reply->abort();
    reply->deleteLater();
}

void HttpRequest::WarmConnections(const QString& address, int count)
{
    const QUrl url = QUrl::fromEncoded(address.toUtf8(), QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (url.host().isEmpty())
        return;
    for (int i = 0; i < count; ++i) {
        if (scheme == QLatin1String("https"))
            manager().connectToHostEncrypted(url.host(), quint16(url.port(443)));
        else if (scheme == QLatin1String("http"))
            manager().connectToHost(url.host(), quint16(url.port(80)));
    }
}

void HttpRequest::open(const QString& method, const QString& address, bool)
{
    m_reply.reset();
    m_failure.reset();
    m_method = method.toUpper();
    m_address = address;
    m_body.clear();
    m_contentType.clear();
    m_status = 0;
    m_stop = Stop::None;
    m_refusedRedirect.clear();
}

void HttpRequest::send()
{
    if (waiting())
        throw AppError(ErrNo::Transport, QStringLiteral("Another request to the server is still running."), kSource);
    startRequest(true, {});
    finish();
}

void HttpRequest::begin(std::function<void()> answered)
{
    startRequest(false, std::move(answered));
}

void HttpRequest::startRequest(bool urgent, std::function<void()> answered)
{
    m_origin = m_url = parseAddress(m_address);
    m_deadline = QDeadlineTimer(TimeoutMs());
    m_stop = Stop::None;
    m_failure.reset();
    m_reply.reset(start(m_method, buildRequest(m_url, urgent)));
    watch(*m_reply);
    if (answered)
        // Queued: the callback runs from the event loop after whoever waits on this reply.
        QObject::connect(m_reply.get(), &QNetworkReply::finished, m_reply.get(), std::move(answered),
                         Qt::QueuedConnection);
}

bool HttpRequest::isAnswered() const
{
    return !m_reply || m_reply->isFinished();
}

void HttpRequest::finish()
{
    try {
        if (m_reply)
            waitForAnswer();
    } catch (const AppError& e) {
        m_failure = std::make_shared<AppError>(e);
    }
    m_reply.reset();
    if (m_failure)
        throw *m_failure;
}

// Waits for the reply, following redirects on the same server, within the one deadline.
void HttpRequest::waitForAnswer()
{
    QString method = m_method;
    for (int hops = 0;; ++hops) {
        if (!m_reply->isFinished()) {
            if (waiting())
                throw AppError(ErrNo::Transport, QStringLiteral("Another request to the server is still running."),
                               kSource);
            WaitGuard guard;
            waitFor(*m_reply, m_deadline);
        }
        if (m_stop != Stop::None)
            raiseStopped();
        const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QUrl target = m_reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
        if (!isRedirect(status) || target.isEmpty() || hops >= kMaxRedirects) {
            readAnswer(*m_reply);
            return;
        }
        m_url = m_url.resolved(target);
        if (!SameOrigin(m_origin, m_url)) {
            m_refusedRedirect = m_url;
            m_stop = Stop::Redirect;
            raiseStopped();
        }
        // 301 to 303 are followed with GET, 307 and 308 with the method asked for.
        if (status <= 303)
            method = QStringLiteral("GET");
        m_reply.reset(start(method, buildRequest(m_url, true)));
        watch(*m_reply);
    }
}

QNetworkReply* HttpRequest::start(const QString& method, const QNetworkRequest& request) const
{
    if (method == QLatin1String("POST")) {
        QNetworkRequest post(request);
        post.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/x-www-form-urlencoded"));
        if (!m_atMostOnce)
            return manager().post(post, QByteArray());
        post.setHeader(QNetworkRequest::ContentLengthHeader, 0);
        post.setAttribute(QNetworkRequest::DoNotBufferUploadDataAttribute, true);
        auto* body = new OneShotBody;
        QNetworkReply* reply = manager().post(post, body);
        body->setParent(reply);
        return reply;
    }
    if (method == QLatin1String("GET"))
        return manager().get(request);
    return manager().sendCustomRequest(request, method.toLatin1());
}

// Stops the reply when its answer grows beyond the limit; the reason is kept for send().
void HttpRequest::watch(QNetworkReply& reply)
{
    QNetworkReply* r = &reply;
    auto stop = [this, r](Stop why) {
        if (m_stop == Stop::None)
            m_stop = why;
        r->abort();
    };
    QObject::connect(r, &QNetworkReply::metaDataChanged, r, [this, r, stop] {
        bool known = false;
        const qint64 announced = r->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
        if (known && announced > m_answerLimit)
            stop(Stop::TooLarge);
    });
    QObject::connect(r, &QNetworkReply::downloadProgress, r, [this, stop](qint64 received, qint64) {
        if (received > m_answerLimit)
            stop(Stop::TooLarge);
    });
}

void HttpRequest::waitFor(QNetworkReply& reply, const QDeadlineTimer& deadline)
{
    if (!reply.isFinished()) {
        QEventLoop loop;
        QObject::connect(&reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        // The transfer time-out only measures silence; this one bounds the whole exchange.
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &reply, [this, &reply] {
            if (m_stop == Stop::None)
                m_stop = Stop::Deadline;
            reply.abort();
        });
        timer.start(int(qMax<qint64>(0, deadline.remainingTime())));
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!reply.isFinished()) {
        // The event loops were told to exit (the program is ending) before the answer came.
        reply.abort();
        throw AppError(ErrNo::Transport, QStringLiteral("The request was abandoned: ") + MaskPasswords(m_address), kSource);
    }
}

void HttpRequest::raiseStopped() const
{
    const QString masked = MaskPasswords(m_address);
    switch (m_stop) {
    case Stop::Deadline:
        throw AppError(ErrNo::Timeout,
                       QStringLiteral("The server did not answer within %1 ms: %2").arg(TimeoutMs()).arg(masked), kSource);
    case Stop::TooLarge:
        throw AppError(ErrNo::Transport,
                       QStringLiteral("The server's answer is larger than %1 bytes: %2").arg(m_answerLimit).arg(masked),
                       kSource);
    case Stop::Redirect:
        throw AppError(ErrNo::Transport,
                       QStringLiteral("The server redirected the request to another address, which was refused: ")
                           + MaskPasswords(QString::fromUtf8(m_refusedRedirect.toEncoded())) + QStringLiteral(" (")
                           + masked + QLatin1Char(')'),
                       kSource);
    case Stop::None:
        break;
    }
    throw AppError(ErrNo::Transport, QStringLiteral("The request was stopped: ") + masked, kSource);
}

void HttpRequest::readAnswer(QNetworkReply& reply)
{
    m_status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    m_contentType = reply.header(QNetworkRequest::ContentTypeHeader).toByteArray();
    if (reply.isOpen())
        m_body = reply.readAll();
    if (m_status >= 400) {
        const QString reason = reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        throw AppError(ErrNo::HttpStatus,
                       QStringLiteral("The server answered with HTTP status %1 %2 for %3")
                           .arg(m_status).arg(reason, MaskPasswords(m_address)),
                       kSource);
    }
    if (reply.error() != QNetworkReply::NoError) {
        const long number = numberFor(reply.error());
        throw AppError(number, descriptionFor(number, reply, m_address), kSource);
    }
    if (m_status >= 300)
        throw AppError(ErrNo::Transport,
                       QStringLiteral("The server answered with HTTP status %1 and no usable address for %2")
                           .arg(m_status).arg(MaskPasswords(m_address)),
                       kSource);
}

QString HttpRequest::responseText() const
{
    return DecodeAnswer(m_body, m_contentType);
}

QString HttpRequest::DecodeAnswer(const QByteArray& body, const QByteArray& contentType)
{
    const QByteArray charset = CharsetOf(contentType);
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid())
            return decoder(body);
    }
    return QString::fromUtf8(body);
}
