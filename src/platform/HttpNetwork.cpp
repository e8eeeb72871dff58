#include "platform/HttpNetwork.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QUrl>

namespace {

QNetworkAccessManager& manager()
{
    static QPointer<QNetworkAccessManager> instance;
    if (!instance) {
        QNetworkProxyFactory::setUseSystemConfiguration(true);
        instance = new QNetworkAccessManager(QCoreApplication::instance());
    }
    return *instance;
}

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

// Qt takes, of the proxies the settings list, the first that can carry the request: for https
// one that can tunnel, for http one that can also forward a plain request.
bool canCarry(const QNetworkProxy& proxy, const QUrl& url)
{
    if (proxy.type() == QNetworkProxy::NoProxy || proxy.type() == QNetworkProxy::DefaultProxy)
        return true;
    const bool tunnel = proxy.capabilities() & QNetworkProxy::TunnelingCapability;
    const bool forward = proxy.capabilities() & QNetworkProxy::CachingCapability;
    return tunnel || (forward && url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) != 0);
}

} // namespace

namespace HttpNetwork {

QNetworkReply* Send(const QString& method, const QNetworkRequest& request, bool atMostOnce)
{
    if (method == QLatin1String("POST")) {
        QNetworkRequest post(request);
        post.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("application/x-www-form-urlencoded"));
        if (!atMostOnce)
            return manager().post(post, QByteArray());
        // The same bytes on the wire as any other POST with an empty body.
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

void WarmConnections(const QString& address, int count)
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

QNetworkProxy ProxyFor(const QUrl& url)
{
    const QNetworkProxy own = manager().proxy();
    if (own.type() != QNetworkProxy::DefaultProxy)
        return own;
    const QList<QNetworkProxy> listed = QNetworkProxyFactory::proxyForQuery(QNetworkProxyQuery(url));
    for (const QNetworkProxy& proxy : listed) {
        if (canCarry(proxy, url))
            return proxy;
    }
    return QNetworkProxy(QNetworkProxy::NoProxy);
}

void UseProxy(const QNetworkProxy& proxy)
{
    manager().setProxy(proxy);
}

} // namespace HttpNetwork
