#include "ScriptedMsgBox.h"
#include "TestEnv.h"
#include "VendorSim.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "platform/Seam.h"
#include "service/ParamBlock.h"
#include "service/basOrder.h"

#include <QApplication>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTest>

#include <optional>

namespace {

const QString kDropped = "<dropped>";   // the connection closes without an answer

struct RequestRow {
    QString answer;     // scripted REQUEST answer; empty: the server's own
    bool result;
    QString out;        // the GUID; "<ERROR>..." the beginning of the logged error text
    QString box;        // text of the "Error Submitting Request" box; empty: none
};

// An order as the pull window builds it, blanks and an "&" inside values.
QString orderBlock()
{
    return ParamBlock("REQUEST")
        .add("Keywords", "")
        .add("Reference", "LOAN 7 & CO")
        .add("FirstName", "AVERY")
        .add("LastName", "NEWCOMB")
        .add("MiddleInitial", "J")
        .add("SSN", "900110001")
        .add("DOB", "")
        .add("CurAddress", "12 MAIN ST")
        .add("Joint", "FALSE")
        .add("EQUIFAX", "TRUE")
        .text();
}

const QString kOrderLine = "POST /cia/cgi/marrowCGI.exe?UserName=demo&Password=Demo2026pass&action=REQUEST&Keywords="
                           "&Reference=LOAN+7+%26+CO&FirstName=AVERY&LastName=NEWCOMB&MiddleInitial=J&SSN=900110001&DOB="
                           "&CurAddress=12+MAIN+ST&Joint=FALSE&EQUIFAX=TRUE&Source=Orrery+Client&LOSVersion=";

} // namespace

Q_DECLARE_METATYPE(RequestRow)

// Placing an order: the address the server receives and how each answer ends.
class OrderTest : public QObject
{
    Q_OBJECT
    VendorSim m_sim;
    struct PerTest {
        TestEnv env;
        ScriptedMsgBox boxes;
    };
    std::optional<PerTest> m_test;

    int logEntries() const { return int(m_test->env.readFile("errors.log").count("Date: ")); }

private slots:
    void initTestCase() { QVERIFY2(m_sim.start(), "the stand-in vendor server did not start"); }

    void init()
    {
        m_sim.reset();
        m_test.emplace();
        m_test->env.freshProps();
        Props().setServerURL(m_sim.baseUrl());
        Props().setPostLocation("/cia/cgi/marrowCGI.exe?");
        Props().setUserName("demo");
        Props().setPassword("Demo2026pass");
    }

    void cleanup()
    {
        const QByteArray log = m_test->env.readFile("errors.log");
        m_test.reset();
        QVERIFY2(!log.contains("Demo2026pass"), "a password reached errors.log");
    }

    void request_data()
    {
        QTest::addColumn<RequestRow>("row");
        QTest::newRow("the server's GUID") << RequestRow{"", true, "", ""};
        QTest::newRow("GUID on line 1") << RequestRow{"SUCCESS\nGUID-7", true, "GUID-7", ""};
        QTest::newRow("GUID with CR LF") << RequestRow{"SUCCESS\r\nGUID-8\r\n", true, "GUID-8", ""};
        QTest::newRow("FAILED alone") << RequestRow{"FAILED", false,
            "<ERROR><ERROR_NO>6001</ERROR_NO><ERROR_DESC>FAILED</ERROR_DESC><ERROR_SOURCE>Request</ERROR_SOURCE>",
            "There was an error submitting request."};
        QTest::newRow("FAILED with a message") << RequestRow{"FAILED\nAt least one bureau must be selected.", false,
            "<ERROR><ERROR_NO>6001</ERROR_NO><ERROR_DESC>FAILED\nAt least one bureau must be selected.</ERROR_DESC>",
            "At least one bureau must be selected."};
        QTest::newRow("no GUID line") << RequestRow{"SUCCESS", false, "<ERROR><ERROR_NO>9</ERROR_NO>", ""};
        QTest::newRow("empty GUID line") << RequestRow{"SUCCESS\n  \t\r\nmore", false,
            "<ERROR><ERROR_NO>5</ERROR_NO><ERROR_DESC>The server answered without a request GUID", ""};
        QTest::newRow("a page, not an answer") << RequestRow{"<html>\nGUID-X\n</html>", false,
            "<ERROR><ERROR_NO>-2146697208</ERROR_NO><ERROR_DESC>The server's answer is not a protocol answer", ""};
        QTest::newRow("connection dropped") << RequestRow{kDropped, false, "<ERROR><ERROR_NO>-", ""};
    }

    void request()
    {
        QFETCH(RequestRow, row);
        if (row.answer == kDropped)
            m_sim.scriptDrop("REQUEST", 2);
        else if (!row.answer.isEmpty())
            m_sim.script("REQUEST", row.answer);
        if (!row.box.isEmpty())
            m_test->boxes.expect(vbOK);

        QString out = "previous";
        QCOMPARE(Request(orderBlock(), out), row.result);

        const QStringList lines = m_sim.requests();
        QVERIFY(!lines.isEmpty());
        QCOMPARE(lines.first(), kOrderLine + ClientVersion());
        if (row.out.startsWith("<ERROR>")) {
            QVERIFY2(out.startsWith(row.out), qPrintable(out));
            QCOMPARE(logEntries(), 1);
        } else {
            QCOMPARE(out, row.out.isEmpty() ? m_sim.reports().last().toObject().value("id").toString() : row.out);
            QVERIFY(!out.isEmpty());
            QCOMPARE(logEntries(), 0);
        }
        QCOMPARE(m_test->boxes.boxes.size(), row.box.isEmpty() ? 0 : 1);
        if (!row.box.isEmpty()) {
            QCOMPARE(m_test->boxes.boxes[0].text, row.box);
            QCOMPARE(m_test->boxes.boxes[0].title, QString("Error Submitting Request"));
            QCOMPARE(m_test->boxes.boxes[0].icon(), int(vbCritical));
        }
    }

    void serverTextReachesTheRealBoxAsPlainTextCut_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("shown");
        const QString page = "<b>Refused</b> <a href=\"file:///etc/passwd\">details</a><img src=\"http://evil.example/t\">";
        QTest::newRow("refusal that is HTML") << "FAILED\n" + page << page;
        QTest::newRow("refusal of 10000 characters") << "FAILED\n" + QString(10000, 'x')
                                                     << QString(4000, 'x') + "... (6000 more characters not shown)";
    }

    // The platform's own box (not the scripted one): the server's words are shown as they are,
    // no link in them can be followed, and a long answer is cut with a note.
    void serverTextReachesTheRealBoxAsPlainTextCut()
    {
        QFETCH(QString, answer);
        QFETCH(QString, shown);
        m_sim.script("REQUEST", answer);
        struct Seen {
            int boxes = 0;
            Qt::TextFormat format = Qt::AutoText;
            Qt::TextInteractionFlags flags;
            QString text;
        } seen;
        QTimer poll;
        connect(&poll, &QTimer::timeout, &poll, [&seen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            ++seen.boxes;
            const QLabel* label = box->findChild<QLabel*>("qt_msgbox_label");
            seen.format = label->textFormat();
            seen.flags = label->textInteractionFlags();
            seen.text = label->text();
            box->button(QMessageBox::Ok)->click();
        });
        poll.start(10);
        Seam<MessageBoxes>::set(nullptr);
        QString out;
        const bool result = Request(orderBlock(), out);
        Seam<MessageBoxes>::set(&m_test->boxes);
        QVERIFY(!result);
        QCOMPARE(seen.boxes, 1);
        QCOMPARE(seen.text, shown);
        QCOMPARE(seen.format, Qt::PlainText);
        QVERIFY(!(seen.flags & (Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard)));
    }
};

int runOrderTest(int argc, char** argv)
{
    OrderTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_order.moc"
