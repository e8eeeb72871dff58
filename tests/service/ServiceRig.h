#pragma once

#include "Awaited.h"
#include "ReportFixture.h"
#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "VendorSim.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "platform/AppError.h"
#include "platform/HttpPolicy.h"
#include "service/ParamBlock.h"
#include "service/basActions.h"
#include "service/basOrder.h"
#include "service/basPrefetch.h"

#include <QElapsedTimer>
#include <QTest>

using Operation = void (*)(const QString&, QObject*, ServiceReply);

// The service operations against the stand-in vendor server on 127.0.0.1. Each test has the
// demo loan's folders and settings against it (ReportFixture), a desktop that shows nothing and
// scripted message boxes; none may leave the password in errors.log.
class ServiceTest : public QObject
{
    Q_OBJECT

protected:
    struct Rig {
        explicit Rig(VendorSim& sim) : loan((sim.reset(), sim.baseUrl())) {}
        ReportFixture loan;
        FakeDesktop desk;
        ScriptedMsgBox boxes;
    };
    VendorSim m_sim;
    std::optional<Rig> m_rig;

    QByteArray log() const { return m_rig->loan.env.readFile("errors.log"); }
    int logEntries() const { return int(log().count("Date: ")); }
    // A block of the demo user's credentials.
    static QString block(const QString& action)
    {
        return ParamBlock(action).add("USER", "demo").add("PASSWORD", ReportFixture::Password).text();
    }
    // The operation waited for, read the classic way (its outcome kept in m_last): true with the
    // answer, false with the error text; the credential check is true only for no reason, the
    // search for a pending order only with a GUID.
    bool run(Operation operation, const QString& block, QString& answer)
    {
        m_last = Await([&](QObject* context, ServiceReply done) { operation(block, context, std::move(done)); });
        const bool ok = m_last.Read(answer);
        if (operation == static_cast<Operation>(&ValidateCredentials))
            return ok && answer.isEmpty();
        if (operation == static_cast<Operation>(&FindPending))
            return ok && !answer.isEmpty();
        return ok;
    }
    ServiceOutcome m_last;
    static QString errorStart(long number) { return "<ERROR><ERROR_NO>" + QString::number(number) + "</ERROR_NO>"; }
    // The error text about block, starting with start, and its one errors.log entry.
    bool isLoggedError(const QString& out, const QString& start, const QString& block) const
    {
        return out.startsWith(start) && out.endsWith("<INFO><![CDATA[" + block + "]]></INFO></ERROR>")
            && logEntries() == 1;
    }

private slots:
    void initTestCase() { QVERIFY2(m_sim.start(), "the stand-in vendor server did not start"); }
    void init() { m_rig.emplace(m_sim); }
    void cleanup()
    {
        qunsetenv("QUILLCLIENT_HTTP_TIMEOUT_MS");
        Prefetch::Discard();
        Prefetch::SetEnabled(true);
        QVERIFY2(!log().contains(ReportFixture::Password.toUtf8()), "a password reached errors.log");
        m_rig.reset();
    }

    // test_actions.cpp: what operations send and how they read the answers.
    void answers_data();
    void answers();
    void serverTextReachesTheRealBoxAsPlainTextCut();
    // test_transport.cpp: what reaches an operation when the address, the connection or the
    // server misbehaves, and reads sent ahead of their steps (Prefetch).
    void transportFailures_data();
    void transportFailures();
    void charsetOfContentType();
    void stepTakesTheReadSentAhead_data();
    void stepTakesTheReadSentAhead();
    // test_report.cpp: GET_PDF and GET_DATA, and the files they and the logs leave behind:
    // whole, owner-only, the earlier file kept on a failure.
    void reportFiles_data();
    void reportFiles();
    void personalFilesAreOwnerOnly_data();
    void personalFilesAreOwnerOnly();
};
