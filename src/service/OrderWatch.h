#pragma once

#include "service/ServiceOutcome.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

// Waits at the vendor without blocking: polls one request again and again until its answer ends
// the wait. Status: GET_STATUS until no bureau of the answer is "1". PDF: GET_PDF until the
// answer no longer begins with "PENDING" (a page, beginning with "<", ends it as "FAILED"). The
// first poll goes out at start(); each next one PollingSleepTime ms after the previous answer,
// so two polls never overlap. A poll that fails shows its box and is logged here, and ends the
// wait with "FAILED", a line feed and the failure's description as the last answer (a status
// answer without "SUCCESS" ends it with that answer).
//
// A window shows the progress (polled) and may abort the wait; the watch lives on without it.
class OrderWatch : public QObject
{
    Q_OBJECT

public:
    enum class Mode { Status, Pdf };

    OrderWatch(Mode mode, QString block, QObject* parent);

    void start();
    // The user ended the wait: no further poll, the one running is given up, ended() follows.
    void abort();

    Mode mode() const { return m_mode; }
    bool isRunning() const { return m_running; }
    bool wasAborted() const { return m_aborted; }
    // The answer the last poll got (see above for a failed poll).
    QString lastAnswer() const { return m_last; }

    // The bureaus a status answer has still in progress, in the order Equifax, Experian,
    // Trans Union (lines 2, 1 and 3 of the answer).
    static QStringList BureausInProgress(const QString& statusAnswer);

signals:
    // A poll request goes out (the first one inside start()).
    void pollStarted();
    // An answer that keeps the wait going.
    void polled();
    // Once: the wait is over (also after abort()).
    void ended();

private:
    void poll();
    void answered(const ServiceOutcome& outcome);
    bool statusGoesOn(const ServiceOutcome& outcome);
    bool pdfGoesOn(const ServiceOutcome& outcome);
    void finish();

    Mode m_mode;
    QString m_block;
    QTimer m_next;
    // The context of the poll in flight: deleting it gives the poll up.
    QPointer<QObject> m_request;
    bool m_running = false;
    bool m_aborted = false;
    QString m_last;
};
