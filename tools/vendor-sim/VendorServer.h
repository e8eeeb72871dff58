#pragma once

#include "AccountActions.h"
#include "Answer.h"
#include "AnswerScript.h"
#include "ReportActions.h"
#include "SimControl.h"
#include "VendorState.h"
#include "WebPages.h"

#include "HttpFront.h"

#include <QStringList>

#include <memory>

class FormQuery;

// The stand-in vendor's HTTP front: routes the account path, the report path, PDF downloads and
// web pages to their handlers, and applies what tests asked for (scripted answers, latency,
// dropped connections). Control requests under /__sim/ are answered at once and never logged.
class VendorServer : public HttpFront
{
    Q_OBJECT

public:
    static constexpr const char* AccountPath = "/utils/CGI_Utilities.asp";
    static constexpr const char* ReportPath = "/cia/cgi/marrowCGI.exe";

    explicit VendorServer(const QByteArray& seed, QObject* parent = nullptr);

    // Loads the seed; an error text when it cannot be used.
    QString loadSeed();
    // Listens on the loopback address only; returns the port, 0 on failure.
    quint16 start(quint16 port);
    QString baseUrl() const { return m_baseUrl; }

protected:
    void handleRequest(const SimRequest& request, QTcpSocket* socket) override;

private:
    Answer answerFor(const SimRequest& request);
    Answer accountForm(const FormQuery& query);
    Answer reportForm(const FormQuery& query);
    Answer pdfDownload(const QString& path);
    void deliver(const Answer& answer, QTcpSocket* socket);
    static void send(QTcpSocket* socket, const Answer& answer);
    static void trickle(const Answer& answer, QTcpSocket* socket);

    QByteArray m_seed;
    QString m_baseUrl;
    VendorState m_state;
    AnswerScript m_script;
    QStringList m_requestLog;
    int m_latencyMs = 0;
    std::unique_ptr<AccountActions> m_accountActions;
    ReportActions m_reportActions;
    WebPages m_pages;
    SimControl m_control;
};
