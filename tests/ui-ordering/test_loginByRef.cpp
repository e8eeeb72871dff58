#include "ScriptedMsgBox.h"
#include "TestEnv.h"
#include "core/AppContext.h"
#include "core/clsProperties.h"
#include "ui/ordering/frmLoginByRef.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <optional>

namespace {

const QString kAbortText = "You can not pull credit without chosing a reference.\r\n\r\n\r\nAbort Credit Pull?";

struct ChoiceRow {
    QStringList presses;      // in turn: a button's name, "close" (the close box) or "pick:N" (select row N)
    bool abortMessage;
    QList<int> answers;       // answers to the abort question, in turn
    QList<bool> openAfter;    // whether the window is still open after each press that is not a pick
    bool cancelled;           // UserCancelled afterwards
    QString reference;        // LoginReference's user afterwards; LoginByRef is on exactly when it changed
};

std::shared_ptr<clsLoginByRef> entry(const QString& longName, const QString& user, const QString& password)
{
    auto ref = std::make_shared<clsLoginByRef>();
    ref->setLongName(longName);
    ref->setUserName(user);
    ref->setPassword(password);
    return ref;
}

} // namespace

Q_DECLARE_METATYPE(ChoiceRow)

// The reference chooser: whose account an order goes on.
class TestLoginByRef : public QObject
{
    Q_OBJECT
    std::optional<TestEnv> m_env;
    std::optional<ScriptedMsgBox> m_boxes;
    QStringList m_listShown;
    QList<bool> m_openAfterPress;

    // Acts on the chooser once it is shown: records its list, makes the presses in turn (recording
    // whether it stayed open after each) and, should it still be open, closes it without a question.
    void drive(const ChoiceRow& row)
    {
        QTimer::singleShot(0, [this, row] {
            auto* window = qobject_cast<frmLoginByRef*>(QApplication::activeModalWidget());
            QVERIFY(window);
            auto* list = window->findChild<QListWidget*>("lstbxRefs");
            for (int i = 0; i < list->count(); ++i)
                m_listShown << list->item(i)->text();
            for (const QString& press : row.presses) {
                if (press.startsWith("pick:")) {
                    list->item(press.mid(5).toInt())->setSelected(true);
                    continue;
                }
                if (press == "close")
                    window->close();
                else
                    window->findChild<QPushButton*>(press)->click();
                m_openAfterPress << window->isVisible();
            }
            if (window->isVisible()) {
                window->setAbortMessage(false);
                window->reject();
            }
        });
    }

private slots:
    void init()
    {
        m_env.emplace();
        m_boxes.emplace();
        m_env->freshProps();
        m_listShown.clear();
        m_openAfterPress.clear();
        Props().setLoginByReferences({entry("Alex Agent", "agent", "Agent2026pass"), entry("Bo Broker", "bo", "pw-b"),
                                      entry("Cy Closer", "cy", "pw-c")});
        Props().setLoginReference(entry("Previous One", "prev", "pw-p"));
        Props().setLoginByRef(false);
    }

    void cleanup()
    {
        frmLoginByRef::Unload();
        m_boxes.reset();
        m_env.reset();
    }

    void choices_data()
    {
        QTest::addColumn<ChoiceRow>("row");
        QTest::newRow("continue with a choice") << ChoiceRow{{"pick:1", "cmdPull"}, true, {}, {false}, false, "bo"};
        QTest::newRow("several selected: first in list order")
            << ChoiceRow{{"pick:2", "pick:0", "cmdPull"}, true, {}, {false}, false, "agent"};
        QTest::newRow("continue without a choice, abort") << ChoiceRow{{"cmdPull"}, true, {vbYes}, {false}, true, "prev"};
        QTest::newRow("cancel, No keeps it open, then abort")
            << ChoiceRow{{"cmdClose", "cmdClose"}, true, {vbNo, vbYes}, {true, false}, true, "prev"};
        QTest::newRow("close box, No, then a choice")
            << ChoiceRow{{"close", "pick:2", "cmdPull"}, true, {vbNo}, {true, false}, false, "cy"};
        QTest::newRow("cancel without the abort question") << ChoiceRow{{"cmdClose"}, false, {}, {false}, true, "prev"};
    }

    void choices()
    {
        QFETCH(ChoiceRow, row);
        for (int answer : row.answers)
            m_boxes->expect(answer);
        drive(row);

        frmLoginByRef& chooser = frmLoginByRef::Load();
        chooser.setUserCancelled(true);   // showing the window starts it over
        chooser.setAbortMessage(row.abortMessage);
        chooser.exec();

        QCOMPARE(m_listShown, QStringList({"Alex Agent", "Bo Broker", "Cy Closer"}));
        QCOMPARE(m_openAfterPress, row.openAfter);
        QCOMPARE(m_boxes->boxes.size(), row.answers.size());
        for (const auto& box : m_boxes->boxes) {
            QCOMPARE(box.text, kAbortText);
            QCOMPARE(box.title, QString("Abort?"));
            QCOMPARE(box.style, int(vbYesNo | vbExclamation));
        }
        QCOMPARE(chooser.UserCancelled(), row.cancelled);
        QCOMPARE(Props().LoginReference()->UserName(), row.reference);
        QCOMPARE(Props().IsLoginByRef(), row.reference != "prev");
    }
};

int runLoginByRefTests(int argc, char** argv)
{
    TestLoginByRef t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_loginByRef.moc"
