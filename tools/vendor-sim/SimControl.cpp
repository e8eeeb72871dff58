#include "SimControl.h"

#include "AnswerScript.h"
#include "FormQuery.h"
#include "VendorState.h"

#include "HttpFront.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString prefix = QStringLiteral("/__sim/");

Answer ok()
{
    return Answer::text(QStringLiteral("OK"));
}

Answer badRequest(const QString& reason)
{
    return Answer::error(400, reason);
}

QByteArray repeated(const QByteArray& piece, int size)
{
    QByteArray body;
    body.reserve(size);
    while (body.size() < size)
        body.append(piece.left(size - body.size()));
    return body;
}

} // namespace

bool SimControl::isControlPath(const QString& path)
{
    return path.startsWith(prefix);
}

Answer SimControl::handle(const SimRequest& request)
{
    const QString command = request.url.path().mid(prefix.size());
    const FormQuery q(FormQuery::rawQuery(request));
    if (command == QLatin1String("script"))
        return script(q, request.body);
    if (command == QLatin1String("drop"))
        return drop(q);
    if (command == QLatin1String("latency"))
        return latency(q);
    if (command == QLatin1String("requests"))
        return requests();
    if (command == QLatin1String("requests/clear"))
        return clearRequests();
    if (command == QLatin1String("config"))
        return config(q);
    if (command == QLatin1String("reports"))
        return reports();
    if (command == QLatin1String("reset"))
        return reset();
    return Answer::error(404, QStringLiteral("Unknown control command: ") + command);
}

bool SimControl::readInt(const FormQuery& q, const QString& name, int& out, int minimum)
{
    if (!q.has(name))
        return true;
    bool ok = false;
    const int value = q.value(name).toInt(&ok);
    if (!ok || value < minimum)
        return false;
    out = value;
    return true;
}

// The request body is the answer, byte for byte; "status" sets the HTTP status it is sent with.
// "size" repeats the body until it is that many bytes long (oversized answers without sending
// them here first), "location" adds a Location header, "trickleMs" sends one byte at a time.
Answer SimControl::script(const FormQuery& q, const QByteArray& body)
{
    const QString action = q.value(QStringLiteral("action"));
    int times = 1;
    int status = 200;
    int size = 0;
    int trickleMs = 0;
    if (action.isEmpty() || !readInt(q, QStringLiteral("times"), times, 1)
        || !readInt(q, QStringLiteral("status"), status, 100) || status > 599
        || !readInt(q, QStringLiteral("size"), size, 0) || !readInt(q, QStringLiteral("trickleMs"), trickleMs, 0)
        || (size > 0 && body.isEmpty()))
        return badRequest(QStringLiteral("script needs action, and times >= 1, status 100-599, size >= 0 with a body, "
                                         "trickleMs >= 0 when given"));
    Answer answer{status, size > 0 ? repeated(body, size) : body};
    if (q.has(QStringLiteral("contentType")))
        answer.contentType = q.value(QStringLiteral("contentType")).toUtf8();
    answer.location = q.value(QStringLiteral("location")).toUtf8();
    answer.trickleMs = trickleMs;
    m_c.script.add(action, answer, times);
    return ok();
}

Answer SimControl::drop(const FormQuery& q)
{
    const QString action = q.value(QStringLiteral("action"));
    int times = 1;
    if (action.isEmpty() || !readInt(q, QStringLiteral("times"), times, 1))
        return badRequest(QStringLiteral("drop needs action, and times >= 1 when given"));
    Answer answer;
    answer.drop = true;
    answer.dropAfterHandling = q.value(QStringLiteral("after")) == QLatin1String("1");
    m_c.script.add(action, answer, times);
    return ok();
}

Answer SimControl::latency(const FormQuery& q)
{
    int ms = 0;
    if (!q.has(QStringLiteral("ms")) || !readInt(q, QStringLiteral("ms"), ms, 0))
        return badRequest(QStringLiteral("latency needs ms >= 0"));
    m_c.latencyMs = ms;
    return ok();
}

// One line per request, "METHOD target", in the order received.
Answer SimControl::requests()
{
    QString text;
    for (const QString& line : m_c.requestLog)
        text += line + QLatin1Char('\n');
    return Answer::text(text);
}

Answer SimControl::clearRequests()
{
    m_c.requestLog.clear();
    return ok();
}

Answer SimControl::config(const FormQuery& q)
{
    ServerKnobs& k = m_c.state.knobs;
    if (!readInt(q, QStringLiteral("statusPolls"), k.statusPolls, 0)
        || !readInt(q, QStringLiteral("pdfPolls"), k.pdfPolls, 0))
        return badRequest(QStringLiteral("statusPolls and pdfPolls must be numbers >= 0"));
    if (q.has(QStringLiteral("latestVersion")))
        k.latestVersion = q.value(QStringLiteral("latestVersion"));
    if (q.has(QStringLiteral("downloadPath")))
        k.downloadPath = q.value(QStringLiteral("downloadPath"));
    return ok();
}

// The reports as JSON, for tests that check what an order or a version stamp left behind.
Answer SimControl::reports()
{
    QJsonArray list;
    for (const auto& r : m_c.state.reports()) {
        QJsonArray statuses;
        for (int b = 0; b < BureauCount; ++b)
            statuses.append(m_c.state.currentStatus(*r, Bureau(b)));
        list.append(QJsonObject{
            {QStringLiteral("id"), r->id},
            {QStringLiteral("owner"), r->owner},
            {QStringLiteral("placedBy"), r->placedBy},
            {QStringLiteral("ssn"), r->borrower.ssn},
            {QStringLiteral("joint"), r->joint},
            {QStringLiteral("keywords"), r->keywords},
            {QStringLiteral("previousId"), r->previousId},
            {QStringLiteral("reference"), r->reference},
            {QStringLiteral("losVersion"), r->losVersion},
            {QStringLiteral("source"), r->source},
            {QStringLiteral("requested"), r->requested.toString(QStringLiteral("MM/dd/yyyy"))},
            {QStringLiteral("status"), r->overallStatus},
            {QStringLiteral("bureaus"), statuses},
        });
    }
    Answer answer = Answer::text(QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact)));
    answer.contentType = QByteArrayLiteral("application/json");
    return answer;
}

Answer SimControl::reset()
{
    m_c.script.clear();
    m_c.requestLog.clear();
    m_c.latencyMs = 0;
    const QString error = m_c.reloadSeed();
    return error.isEmpty() ? ok() : Answer::error(500, error);
}
