#include "ScriptedMsgBox.h"
#include "TestEnv.h"
#include "TestSupport.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "ui/ordering/frmReissue.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

class TestReissue : public QObject
{
    Q_OBJECT

private slots:
    void numberIsValidated_data();
    void numberIsValidated();
    void closingWithoutNumberClearsIt_data();
    void closingWithoutNumberClearsIt();
};

namespace {

// Types text into the shown reissue window and presses the buttons named, in order; then
// closes it (if still open) with the window's close box.
void drive(const QString& text, const QStringList& presses)
{
    QTimer::singleShot(0, [=] {
        auto* window = qobject_cast<frmReissue*>(QApplication::activeModalWidget());
        QVERIFY(window);
        window->findChild<QLineEdit*>("txtReissue")->setText(text);
        for (const QString& name : presses)
            if (window->isVisible())
                window->findChild<QPushButton*>(name)->click();
        if (window->isVisible())
            window->close();
    });
}

} // namespace

void TestReissue::numberIsValidated_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored");
    QTest::newRow("trimmed") << "  R-1234 " << "" << "R-1234";
    QTest::newRow("empty") << "   " << "You must enter a reissue number to proceed." << "";
    QTest::newRow("blank inside") << "R 1234" << "You must enter a valid reissue number to proceed." << "";
}

void TestReissue::numberIsValidated()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, stored);
    TestEnv env;
    ScriptedMsgBox boxes;
    if (!message.isEmpty())
        boxes.expect();
    Props().setReissueNumber("previous");
    drive(typed, {"cmdReissue"});
    QCOMPARE(frmReissue::Ask(), stored);
    if (!message.isEmpty()) {
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].text, message);
        QCOMPARE(boxes.boxes[0].title, QString("Validation Error"));
        QCOMPARE(boxes.boxes[0].icon(), int(vbExclamation));
    }
}

void TestReissue::closingWithoutNumberClearsIt_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("Not a Reissue") << "cmdClose";
    QTest::newRow("close box") << "";
}

void TestReissue::closingWithoutNumberClearsIt()
{
    QFETCH(QString, button);
    TestEnv env;
    Props().setReissueNumber("R-1");
    drive("R-2", button.isEmpty() ? QStringList() : QStringList{button});
    QCOMPARE(frmReissue::Ask(), QString());
    QCOMPARE(Props().ReissueNumber(), QString());
}

int runReissueTests(int argc, char** argv)
{
    TestReissue t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_reissue.moc"
