#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "core/basShell.h"
#include "service/ParamBlock.h"
#include "service/basUrl.h"
#include "service/basXML.h"

#include <QTest>

// Parameter blocks, field strings and texts, without the server.
class ParamsTest : public QObject
{
    Q_OBJECT
private slots:
    // A block's values are escaped where needed and read back exactly into the form fields sent.
    void fieldString_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<QString>("fields");
        QTest::newRow("no criteria") << ParamBlock("GETABOUT").text() << "";
        QTest::newRow("criteria in order")
            << ParamBlock("GETABOUT").add("USER", "bob").add("DEPARTMENTID", "12").text() << "&USER=bob&DEPARTMENTID=12";
        QTest::newRow("markup characters")
            << ParamBlock("X").add("USER", "a & b <c> 'd' \"e\"").text() << "&USER=a+%26+b+%3Cc%3E+%27d%27+%22e%22";
        QTest::newRow("blanks only") << ParamBlock("X").add("PASSWORD", "   ").text() << "&PASSWORD=+++";
        QTest::newRow("line breaks") << ParamBlock("X").add("NOTE", "one\r\ntwo\rthree\n").text() << "&NOTE=one%0D%0Atwo%0Dthree%0A";
        QTest::newRow("non-ASCII") << ParamBlock("X").add("LastName", QString::fromUtf8("Zoë Ñúñez")).text()
                                   << "&LastName=Zo%C3%AB+%C3%91%C3%BA%C3%B1ez";
        QTest::newRow("name with markup") << ParamBlock("X").add("A'B&C\tD", "v").text() << "&A%27B%26C%09D=v";
        QTest::newRow("control characters dropped, TAB kept")
            << ParamBlock("X").add("NOTE", QString("a") + QChar(1) + "b" + QChar(0x1F) + "\tc" + QChar(0xFFFF)).add("USER", "bob").text()
            << "&NOTE=ab%09c&USER=bob";
        QTest::newRow("control character in a name") << ParamBlock("X").add(QString("A") + QChar(2) + "B", "v").text() << "&AB=v";
        QTest::newRow("other elements skipped")
            << "<PARAMETERS METHOD='X'><NOTE FIELDNAME='N'>x</NOTE><CRITERIA FIELDNAME=\"A\">1</CRITERIA></PARAMETERS>" << "&A=1";
    }

    void fieldString()
    {
        QFETCH(QString, block);
        QFETCH(QString, fields);
        QString out = QStringLiteral("stale");
        QVERIFY(BuildKeyValueString(block, out));
        QCOMPARE(out, fields);
    }

    // A block that does not read fails with its box instead of sending a request without fields.
    void unreadableBlockFails_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<QString>("error");
        QTest::newRow("bare ampersand") << "<PARAMETERS METHOD='X'><CRITERIA FIELDNAME='A'>a&b</CRITERIA></PARAMETERS>"
                                        << "Error: 5-The parameter block is not well-formed XML";
        QTest::newRow("control character") << "<PARAMETERS METHOD='X'><CRITERIA FIELDNAME='A'>a\x01</CRITERIA></PARAMETERS>"
                                            << "Error: 5-The parameter block is not well-formed XML";
        QTest::newRow("criterion without a name")
            << "<PARAMETERS METHOD='X'><CRITERIA FIELDNAME='PASSWORD'>hunter2</CRITERIA><CRITERIA>orphan</CRITERIA></PARAMETERS>"
            << "Error: 91-";
    }

    void unreadableBlockFails()
    {
        QFETCH(QString, block);
        QFETCH(QString, error);
        TestEnv env;
        FakeDesktop desk;
        ScriptedMsgBox boxes;
        boxes.expect(vbOK);
        QString fields;
        QVERIFY(!BuildKeyValueString(block, fields));
        QCOMPARE(boxes.boxes.size(), 1);
        QVERIFY2(boxes.boxes[0].text.startsWith(error), qPrintable(boxes.boxes[0].text));
        const QString number = error.section('-', 0, 0).mid(7);
        QVERIFY(fields.startsWith("<ERROR><ERROR_NO>" + number + "</ERROR_NO><ERROR_DESC>"));
        QVERIFY(fields.endsWith("<ERROR_SOURCE>BuildKeyValueString</ERROR_SOURCE><INFO><![CDATA[" + block + "]]></INFO></ERROR>"));
        const QByteArray log = env.readFile("errors.log");
        QCOMPARE(log.count("Date: "), 1);
        QVERIFY(log.contains("<ERROR_NO>" + number.toUtf8() + "</ERROR_NO>"));
        QVERIFY(!log.contains("hunter2"));
    }

    void shellErrorText_data()
    {
        QTest::addColumn<QVariant>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("2.0") << QVariant(2.0) << "2- The specified file was not found.";
        QTest::newRow("33") << QVariant(33) << "33- Generic Error";
        QTest::newRow("2.5") << QVariant(2.5) << "2.5- Generic Error";
    }

    void shellErrorText()
    {
        QFETCH(QVariant, code);
        QFETCH(QString, text);
        QCOMPARE(ShellErrorText(code), text);
    }
};

int runParamsTest(int argc, char** argv)
{
    ParamsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_params.moc"
