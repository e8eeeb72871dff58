#include "test_service.h"

#include "ScriptedMsgBox.h"
#include "ServiceCalls.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "app/AppContext.h"
#include "app/clsProperties.h"
#include "platform/AppError.h"
#include "platform/HttpRequest.h"
#include "service/ParamBlock.h"
#include "service/basActions.h"
#include "service/clsReportStatus.h"

#include <QTest>

void TransportTest::unreachableServer_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("boxText");       // empty: no box expected
    QTest::addColumn<QString>("answerAfter");   // "<ERROR>": an error text
    QTest::addColumn<int>("logEntries");
    const QString tail = "\r\n\r\nPossible invalid https layer.";
    QTest::newRow("plain operation fails and logs") << "CheckMessages" << "" << "<ERROR>" << 1;
    QTest::newRow("report search") << "FindReport"
                                   << "A valid connection to the internet is needed to pull credit." + tail << "previous" << 0;
    QTest::newRow("pending search") << "FindPending"
                                    << "A valid connection to the internet is needed to pull credit." + tail << "previous" << 0;
    QTest::newRow("credential check") << "ValidateCredentials"
                                      << "A valid connection to the internet is needed to validate user." + tail
                                      << "Invalid Internet Connection" << 0;
}

void TransportTest::unreachableServer()
{
    QFETCH(QString, operation);
    QFETCH(QString, boxText);
    QFETCH(QString, answerAfter);
    QFETCH(int, logEntries);
    TestEnv env;
    FakeDesktop desk;
    ScriptedMsgBox boxes;
    if (!boxText.isEmpty())
        boxes.expect(vbOK);
    env.freshProps();
    Props().setServerURL(QStringLiteral("http://127.0.0.1:%1").arg(ClosedPort()));
    Props().setAspUtil("/utils/CGI_Utilities.asp?");
    Props().setPostLocation("/cia/cgi/marrowCGI.exe?");
    Props().setUserName("bob");
    Props().setPassword("hunter2");
    QString answer = QStringLiteral("previous");
    const QString block = ParamBlock("X").add("USER", "bob").add("PASSWORD", "hunter2").text();

    QVERIFY(!CallOperation(operation, block, answer));

    if (answerAfter == "<ERROR>") {
        QVERIFY2(answer.startsWith("<ERROR><ERROR_NO>-2146697211</ERROR_NO>"), qPrintable(answer));
        QVERIFY(answer.contains(block));
    } else {
        QCOMPARE(answer, answerAfter);
    }
    QCOMPARE(boxes.boxes.size(), boxText.isEmpty() ? 0 : 1);
    if (!boxText.isEmpty()) {
        QCOMPARE(boxes.boxes[0].title, QStringLiteral("Invalid Internet Connection Found"));
        QCOMPARE(boxes.boxes[0].text, boxText);
        QCOMPARE(boxes.boxes[0].icon(), int(vbCritical));
    }
    const QByteArray log = env.readFile("errors.log");
    QCOMPARE(ErrorLogEntries(log), logEntries);
    QVERIFY(!log.contains("hunter2"));
}

void TransportTest::addressOtherThanWebIsRefused_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("local file") << "file:///etc/hostname";
    QTest::newRow("other scheme") << "ftp://127.0.0.1/x";
    QTest::newRow("unencoded blank") << QStringLiteral("http://127.0.0.1:%1/a b").arg(ClosedPort());
}

void TransportTest::addressOtherThanWebIsRefused()
{
    QFETCH(QString, address);
    HttpRequest request;
    request.open("POST", address);
    try {
        request.send();
        QFAIL("the request was sent");
    } catch (const AppError& e) {
        QCOMPARE(e.Number, ErrNo::Transport);
        QVERIFY(e.Description.contains("not a valid http or https address"));
    }
    QCOMPARE(request.status(), 0);
}

void TransportTest::malformedSearchAnswerShowsProblem_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("reportId");
    QTest::addColumn<QList<int>>("bureaus");
    QTest::addColumn<QString>("problem");
    QTest::newRow("two bureau codes") << "OK\nR-1\n2 0\n1\nANN\nB\nLEE" << "R-1" << QList<int>{2, 0, 0}
                                      << "Subscript out of range";
    QTest::newRow("report type not a number") << "OK\nR-2\n2 0 1\nX\nANN\nB\nLEE" << "R-2" << QList<int>{2, 0, 1}
                                              << "Type mismatch";
    QTest::newRow("names missing") << "OK\nR-3\n4 4 4\n1\nANN" << "R-3" << QList<int>{4, 4, 4}
                                   << "Subscript out of range";
}

void TransportTest::malformedSearchAnswerShowsProblem()
{
    QFETCH(QString, data);
    QFETCH(QString, reportId);
    QFETCH(QList<int>, bureaus);
    QFETCH(QString, problem);
    ScriptedMsgBox boxes;
    boxes.expect(vbOK);
    clsReportStatus status;
    status.Load(data);
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Error/Problem"));
    QCOMPARE(boxes.boxes[0].text, "There was a problem loading credit report information.\r\nProblem: " + problem);
    QCOMPARE(status.sReportID(), reportId);
    QCOMPARE((QList<int>{status.nStatusEXP(), status.nStatusEFX(), status.nStatusTU()}), bureaus);
    QCOMPARE(status.nStatusReport(), qint16(0));
}
