#include "service/basTransport.h"

#include "core/LogMask.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/HttpAnswer.h"
#include "platform/HttpExchange.h"
#include "service/basPrefetch.h"
#include "service/basUrl.h"

#include <QPointer>
#include <QTimer>

namespace {

QString field(const QString& name, const QString& value)
{
    return name + QLatin1Char('=') + EncodeFormValue(value);
}

int& running()
{
    static int count = 0;
    return count;
}

PostResult resultOf(const HttpResult& result)
{
    PostResult posted;
    posted.body = result.body;
    posted.text = DecodeAnswer(result.body, result.contentType);
    if (result.failure)
        posted.failure = WithMaskedPasswords(*result.failure);
    return posted;
}

// Reports from the event loop, never from inside Post: a caller always sees its call return
// before its callback runs.
void reportLater(QObject* context, std::function<void(const PostResult&)> done, PostResult result)
{
    // A carrier object counts the report as running until it is delivered or its context goes.
    auto* carrier = new QObject(context);
    ++running();
    QObject::connect(carrier, &QObject::destroyed, [] { --running(); });
    QTimer::singleShot(0, carrier, [carrier, done = std::move(done), result = std::move(result)] {
        delete carrier;
        done(result);
    });
}

std::unique_ptr<HttpExchange> startExchange(const QString& address, const PostOptions& options)
{
    if (options.takeSentAhead && options.delivery == Delivery::Repeatable && options.method == QLatin1String("POST")) {
        if (auto held = Prefetch::Claim(address)) {
            held->hurry();
            return held;
        }
    }
    HttpPolicy policy;
    policy.atMostOnce = options.delivery == Delivery::AtMostOnce;
    policy.answerLimit = options.answerLimit;
    policy.timeoutMs = HttpTimeoutMs();
    return HttpExchange::Start(options.method, address, policy, true);
}

} // namespace

void Post(const QString& address, const PostOptions& options, QObject* context,
          std::function<void(const PostResult&)> done)
{
    std::unique_ptr<HttpExchange> exchange;
    try {
        exchange = startExchange(address, options);
    } catch (const AppError& error) {
        reportLater(context, std::move(done), PostResult{{}, {}, WithMaskedPasswords(error)});
        return;
    }
    if (exchange->isFinished()) {
        reportLater(context, std::move(done), resultOf(exchange->result()));
        return;
    }
    // The exchange lives as the context's child: gone with it, it is given up unanswered.
    HttpExchange* raw = exchange.release();
    raw->setParent(context);
    ++running();
    // Counted until it reports or is given up: a report may open a modal window, inside which
    // the exchange's deferred deletion does not happen yet.
    const auto counted = QObject::connect(raw, &HttpExchange::destroyed, [] { --running(); });
    QObject::connect(raw, &HttpExchange::finished, raw, [raw, counted, done = std::move(done)] {
        QObject::disconnect(counted);
        --running();
        const PostResult result = resultOf(raw->result());
        raw->deleteLater();
        done(result);
    });
}

int PostsRunning()
{
    return running();
}

QString CredentialFields(const clsProperties& props, bool loginByRef)
{
    const auto reference = props.LoginReference();
    const QString own = field(QStringLiteral("UserName"), props.UserName()) + QLatin1Char('&')
        + field(QStringLiteral("Password"), props.Password());
    if (!loginByRef || !reference)
        return own;
    return field(QStringLiteral("UserName"), reference->UserName()) + QLatin1Char('&')
        + field(QStringLiteral("Password"), reference->Password()) + QLatin1Char('&')
        + field(QStringLiteral("LoginByRefUserName"), props.UserName()) + QLatin1Char('&')
        + field(QStringLiteral("LoginByRefPassword"), props.Password());
}

QString AccountAddress(const clsProperties& props, const QString& action, const QString& fields)
{
    return props.BaseUrl() + props.AspUtil() + QStringLiteral("Action=") + EncodeFormValue(action) + fields;
}

QString CredentialedAccountAddress(const clsProperties& props, const QString& action, const QString& fields)
{
    return props.BaseUrl() + props.AspUtil() + CredentialFields(props, props.IsLoginByRef())
        + QStringLiteral("&Action=") + EncodeFormValue(action) + fields;
}

QString ReportAddress(const clsProperties& props, const QString& action, const QString& fields)
{
    return props.BaseUrl() + props.PostLocation() + CredentialFields(props, props.IsLoginByRef())
        + QStringLiteral("&action=") + EncodeFormValue(action) + fields;
}

AppError WithMaskedPasswords(AppError failure)
{
    failure.Description = MaskPasswords(failure.Description);
    return failure;
}
