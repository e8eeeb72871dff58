#pragma once

#include <QJsonArray>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QStringList>

// Runs quill-vendor-sim, the stand-in vendor server, as a child process on a free loopback port
// and drives its test-control endpoints. Every control call is synchronous; a control call that
// fails marks the running test as failed.
class VendorSim
{
public:
    VendorSim(); // serving the demo seed that ships with the server
    ~VendorSim();

    // Starts the server (path from $QUILL_VENDOR_SIM, else next to the test executable) and waits
    // for the address on its first output line.
    bool start();
    QString baseUrl() const;
    quint16 port() const { return m_port; }

    // The next `times` answers of the action (its Action=/action= value; PDFFILE for the PDF
    // download) are `body`, byte for byte, with the given HTTP status.
    void script(const QString& action, const QString& body, int times = 1) { scriptStatus(action, 200, body, times); }
    void scriptStatus(const QString& action, int httpStatus, const QString& body = QString(), int times = 1)
    {
        scriptAction("script", action, arg("times", times) + arg("status", httpStatus), body);
    }
    // The next answer of the action is a redirect (3xx status) to `location`; "{self}" is the
    // request's own path and query, so that following it gets the action's usual answer.
    void scriptRedirect(const QString& action, int httpStatus, const QString& location)
    {
        scriptAction("script", action, arg("status", httpStatus) + "&location=" + encoded(location));
    }
    // The next answer of the action sends its headers at once and then one body byte per msPerByte.
    void scriptTrickle(const QString& action, const QString& body, int ms)
    {
        scriptAction("script", action, arg("trickleMs", ms), body);
    }
    // The next answer of the action is `piece` repeated until it is `bytes` long.
    void scriptSized(const QString& action, const QString& piece, int bytes)
    {
        scriptAction("script", action, arg("size", bytes), piece);
    }
    // The next `times` requests of the action get their connection closed without an answer.
    void scriptDrop(const QString& action, int times = 1) { scriptAction("drop", action, arg("times", times)); }
    // Same, but each request is handled first (report form): an order is placed and its answer lost.
    void scriptDropAfterHandling(const QString& action, int times = 1)
    {
        scriptAction("drop", action, arg("times", times) + "&after=1");
    }
    // Fixed delay before every answer (control requests excepted).
    void setLatency(int ms) { post(QStringLiteral("latency?ms=%1").arg(ms)); }

    // "METHOD target" of every request received, in order (control requests are not listed).
    QStringList requests();
    void clearRequests() { post(QStringLiteral("requests/clear")); }
    // Back to the seed: state, scripts, latency and request log.
    void reset() { post(QStringLiteral("reset")); }

    // Protocol knobs: GET_STATUS polls that show ordered bureaus at "1", GET_PDF polls answered
    // PENDING, and the client version NEWERVERSION considers current.
    void setStatusPolls(int polls) { post(QStringLiteral("config?statusPolls=%1").arg(polls)); }
    void setPdfPolls(int polls) { post(QStringLiteral("config?pdfPolls=%1").arg(polls)); }
    void setLatestVersion(const QString& version) { post(QStringLiteral("config?latestVersion=") + encoded(version)); }
    // The server's reports (id, owner, placedBy, ssn, keywords, previousId, losVersion, bureaus...).
    QJsonArray reports();

    static QString sourceDir() { return QStringLiteral(QUILL_SOURCE_DIR); }
    // Folder holding the demo EXPORT.DAT of a case: no-report, recent, old, rmcr-pending, joint,
    // reissue.
    static QString demoCaseDir(const QString& caseName) { return sourceDir() + "/tools/vendor-sim/demo/" + caseName; }

private:
    QByteArray control(const QByteArray& verb, const QString& command, const QByteArray& body = QByteArray());
    void post(const QString& command, const QString& body = QString()) { control("POST", command, body.toUtf8()); }
    // "<verb>?action=<action><more>": the control request that scripts the action's next answers.
    void scriptAction(const char* verb, const QString& action, const QString& more, const QString& body = QString())
    {
        post(QLatin1String(verb) + "?action=" + encoded(action) + more, body);
    }
    static QString encoded(const QString& value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); }
    static QString arg(const char* key, int value) { return QString("&%1=%2").arg(key).arg(value); }
    static QString executablePath();

    QProcess m_process;
    quint16 m_port = 0;
    QNetworkAccessManager m_network;
};
