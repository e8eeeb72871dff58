#pragma once

#include <QByteArray>
#include <QString>

// What the server sends back for one request: a status and a body, or nothing at all when the
// connection is to be dropped. Tests may also ask for a redirect or a body that trickles in.
struct Answer {
    int status = 200;
    QByteArray body;
    QByteArray contentType = QByteArrayLiteral("text/plain; charset=utf-8");
    bool drop = false;
    // With drop: the request is handled first (an order is placed), only its answer is lost.
    bool dropAfterHandling = false;
    // Sent as a Location header (redirect tests); SelfLocation: the request's own target.
    QByteArray location = {};
    // When above 0, the body is written one byte every trickleMs milliseconds.
    int trickleMs = 0;

    static constexpr const char* SelfLocation = "{self}";

    static Answer text(const QString& body) { return Answer{200, body.toUtf8()}; }
    static Answer html(const QString& page)
    {
        return Answer{200, page.toUtf8(), QByteArrayLiteral("text/html; charset=utf-8")};
    }
    static Answer error(int status, const QString& body) { return Answer{status, body.toUtf8()}; }
    // A refusal in the protocol's own words: "FAILED" on line 0, the reason on line 1. Lines end
    // in a bare line feed, because the client compares the reason line exactly.
    static Answer failed(const QString& reason) { return text(QStringLiteral("FAILED\n") + reason); }
};
