#pragma once

#include <QtGlobal>

// The time-out of one server request in milliseconds: $QUILLCLIENT_HTTP_TIMEOUT_MS when it
// holds a positive number, else 60 s.
inline int HttpTimeoutMs()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("QUILLCLIENT_HTTP_TIMEOUT_MS", &ok);
    return ok && ms > 0 ? ms : 60000;
}

// The limits one exchange with the server runs under, fixed when it starts.
struct HttpPolicy {
    static constexpr qint64 TextAnswerLimit = 16 * 1024 * 1024;
    // For downloads of report files, which may be larger than any text answer.
    static constexpr qint64 DownloadAnswerLimit = 128 * 1024 * 1024;

    // The largest answer body accepted, in bytes (announced or received).
    qint64 answerLimit = TextAnswerLimit;
    // Both the longest silence and the longest whole exchange, redirects included.
    int timeoutMs = HttpTimeoutMs();
    // For requests that change something at the vendor: the request reaches the server at
    // most once. Qt's network layer otherwise sends a request again, on a new connection,
    // when its connection closes before the first byte of the answer (design notes); such a
    // request instead fails with ErrNo::Transport, saying that it may or may not have arrived.
    bool atMostOnce = false;
};
