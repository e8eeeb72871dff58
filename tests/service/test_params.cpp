#include "test_service.h"

#include "ScriptedMsgBox.h"
#include "ShellRecorder.h"
#include "TestEnv.h"
#include "app/basShell.h"
#include "platform/XmlDocument.h"
#include "service/ParamBlock.h"
#include "service/basUrl.h"
#include "service/basXML.h"

#include <QTest>

void ParamsTest::blockIsBuiltInOrder()
{
    ParamBlock block(QStringLiteral("NEWERVERSION"));
    block.add("USER", "bob").add("APPNAME", "OQCREDIT").add("APPVERSION", "1.1.0");
    QCOMPARE(block.text(), QStringLiteral("<PARAMETERS METHOD='NEWERVERSION'><CRITERIA FIELDNAME='USER'>bob</CRITERIA>"
                                          "<CRITERIA FIELDNAME='APPNAME'>OQCREDIT</CRITERIA>"
                                          "<CRITERIA FIELDNAME='APPVERSION'>1.1.0</CRITERIA></PARAMETERS>"));
    QCOMPARE(ParamBlock("GETABOUT").text(), QStringLiteral("<PARAMETERS METHOD='GETABOUT'></PARAMETERS>"));
}

void ParamsTest::valuesReadBackExactly_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << "USER" << "bob";
    QTest::newRow("markup characters") << "USER" << "a & b <c> 'd' \"e\"";
    QTest::newRow("blanks only") << "PASSWORD" << "   ";
    QTest::newRow("blanks at the ends") << "USER" << "  bob  ";
    QTest::newRow("line breaks") << "NOTE" << "one\r\ntwo\rthree\n";
    QTest::newRow("non-ASCII") << "LastName" << QString::fromUtf8("Zoë Ñúñez");
    QTest::newRow("name with markup") << "A'B&C\tD" << "v";
}

void ParamsTest::valuesReadBackExactly()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    XmlDocument doc;
    QVERIFY(doc.loadXML(ParamBlock("X").add(name, value).add("LAST", "z").text()));
    const QList<XmlNode> nodes = doc.childrenOf("PARAMETERS");
    QCOMPARE(nodes.size(), 2);
    QCOMPARE(nodes[0].baseName(), QStringLiteral("CRITERIA"));
    QCOMPARE(nodes[0].attribute("FIELDNAME").value_or("<none>"), name);
    QCOMPARE(nodes[0].text(), value);
    QCOMPARE(nodes[1].text(), QStringLiteral("z"));
}

void ParamsTest::fieldString_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("fields");
    QTest::newRow("no criteria") << "<PARAMETERS METHOD='GETABOUT'></PARAMETERS>" << "";
    QTest::newRow("criteria in order")
        << ParamBlock("GETABOUT").add("USER", "bob").add("DEPARTMENTID", "12").text() << "&USER=bob&DEPARTMENTID=12";
    QTest::newRow("escaped block reads back") << ParamBlock("X").add("A", "<&'\">").text() << "&A=%3C%26%27%22%3E";
    QTest::newRow("hand-built bare ampersand") << "<PARAMETERS METHOD='X'><CRITERIA FIELDNAME='A'>a&b</CRITERIA></PARAMETERS>" << "";
    QTest::newRow("other elements skipped")
        << "<PARAMETERS METHOD='X'><NOTE FIELDNAME='N'>x</NOTE><CRITERIA FIELDNAME=\"A\">1</CRITERIA></PARAMETERS>" << "&A=1";
}

void ParamsTest::fieldString()
{
    QFETCH(QString, block);
    QFETCH(QString, fields);
    QString out = QStringLiteral("stale");
    QVERIFY(BuildKeyValueString(block, out));
    QCOMPARE(out, fields);
}

void ParamsTest::criterionWithoutNameFails()
{
    TestEnv env;
    FakeDesktop desk;
    ScriptedMsgBox boxes;
    boxes.expect(vbOK);
    const QString block = "<PARAMETERS METHOD='X'><CRITERIA FIELDNAME='PASSWORD'>hunter2</CRITERIA>"
                          "<CRITERIA>orphan</CRITERIA></PARAMETERS>";
    QString fields;
    QVERIFY(!BuildKeyValueString(block, fields));
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Error in BuildKeyValueString"));
    QCOMPARE(boxes.boxes[0].icon(), int(vbCritical));
    QVERIFY(boxes.boxes[0].text.startsWith("Error: 91-"));
    QVERIFY(fields.startsWith("<ERROR><ERROR_NO>91</ERROR_NO><ERROR_DESC>"));
    QVERIFY(fields.endsWith("<ERROR_SOURCE>BuildKeyValueString</ERROR_SOURCE><INFO><![CDATA[" + block + "]]></INFO></ERROR>"));
    const QByteArray log = env.readFile("errors.log");
    QCOMPARE(log.count("Date: "), 1);
    QVERIFY(log.contains("<ERROR_NO>91</ERROR_NO>"));
    QVERIFY(!log.contains("hunter2"));
}

void ParamsTest::webPageEncoding_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("encoded");
    QTest::newRow("apostrophe blank ampersand") << "O'Brien & Sons" << "O%60Brien%20%26%20Sons";
    QTest::newRow("percent kept") << "100% sure" << "100%%20sure";
}

void ParamsTest::webPageEncoding()
{
    QFETCH(QString, value);
    QFETCH(QString, encoded);
    QCOMPARE(EncodeUrlValue(value), encoded);
}

void ParamsTest::illegalChars_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("illegal");
    QTest::newRow("empty") << "" << false;
    QTest::newRow("harmless punctuation") << "a+b#c%d<e>f;g" << false;
    QTest::newRow("ampersand") << "a&b" << true;
    QTest::newRow("apostrophe") << "O'Brien" << true;
    QTest::newRow("equals") << "a=b" << true;
    QTest::newRow("double quote") << "\"x" << true;
    QTest::newRow("asterisk last of a long text") << QString(500, 'x') + "*" << true;
}

void ParamsTest::illegalChars()
{
    QFETCH(QString, text);
    QFETCH(bool, illegal);
    QCOMPARE(HasIllegalChars(text), illegal);
}

void ParamsTest::shellErrorText_data()
{
    QTest::addColumn<QVariant>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("2") << QVariant(2) << "2- The specified file was not found.";
    QTest::newRow("2.0") << QVariant(2.0) << "2- The specified file was not found.";
    QTest::newRow("0") << QVariant(0) << "0- The operating system is out of memory or resources.";
    QTest::newRow("33") << QVariant(33) << "33- Generic Error";
    QTest::newRow("2.5") << QVariant(2.5) << "2.5- Generic Error";
}

void ParamsTest::shellErrorText()
{
    QFETCH(QVariant, code);
    QFETCH(QString, text);
    QCOMPARE(ShellErrorText(code), text);
}
