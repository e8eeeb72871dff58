#include "test_account.h"

#include "AccountRig.h"

namespace {

const char* const kContactBoxes[] = {"txtEmail", "txtPhoneNum", "txtPhoneExt"};
const QString kFetch = QStringLiteral(
    "POST /utils/CGI_Utilities.asp?Action=GETCONTACTINFO&USER=demo&COMPANYID=QDEMO&DEPARTMENTID=QDEMO-LOANS");

void demoAccount(VendorSim& sim)
{
    Props().setServerURL(sim.baseUrl());
    Props().setUserName(kUser);
    Props().setPassword(kPassword);
    Props().setCompanyID("QDEMO");
    Props().setDepartmentID("QDEMO-LOANS");
}

// Values the run already holds, so opening the window fetches nothing.
void knownContact(const QStringList& values)
{
    Props().setUserEmail(values[0]);
    Props().setUserPhone(values[1]);
    Props().setUserPhoneExt(values[2]);
}

QStringList contactValues()
{
    return {Props().UserEmail(), Props().UserPhone(), Props().UserPhoneExt()};
}

void showContactInfo(const std::function<void(frmUpdateContactInfo&)>& script)
{
    whenModal<frmUpdateContactInfo>(script, [] {
        if (frmUpdateContactInfo* w = frmUpdateContactInfo::loaded())
            w->reject();
    });
    frmUpdateContactInfo::ShowModal();
}

QStringList shownValues(QWidget& w)
{
    QStringList values;
    for (const char* name : kContactBoxes)
        values << box(w, name)->text();
    return values;
}

void enterContact(QWidget& w, const QStringList& values)
{
    for (int i = 0; i < 3; ++i) {
        box(w, kContactBoxes[i])->clear();
        QTest::keyClicks(box(w, kContactBoxes[i]), values[i]);
    }
}

} // namespace

void ContactInfoTest::initTestCase()
{
    QVERIFY(m_sim.start());
}

void ContactInfoTest::init()
{
    m_sim.reset();
}

void ContactInfoTest::firstOpeningFetches_data()
{
    QTest::addColumn<QString>("answer");       // scripted; empty: the server's own
    QTest::addColumn<QStringList>("known");    // values the run holds before the opening
    QTest::addColumn<QStringList>("shown");    // e-mail, telephone, extension
    QTest::addColumn<QString>("error");        // the load error box, or empty
    const QStringList none{"", "", ""};
    QTest::newRow("ten characters regrouped") << "" << none
        << QStringList{"dana.demo@quill-broker.example", "(555) 010-0123", "12"} << "";
    QTest::newRow("other lengths as received, trimmed") << "555-0100 || 7 || a@b.example " << none
        << QStringList{"a@b.example", "555-0100", "7"} << "";
    QTest::newRow("known values: nothing fetched") << "" << QStringList{" x@y.example", "1", ""}
        << QStringList{"x@y.example", "1", ""} << "";
    QTest::newRow("two parts are no partial fill") << "5550100123||12" << none << none
        << "Error: 9\r\nError Desc: Subscript out of range";
    QTest::newRow("a page instead of an answer") << "<html>a||b||c</html>" << none << none
        << "Error: 13\r\nError Desc: The server's contact information is not in the expected form: "
           "<html>a||b||c</html>";
}

void ContactInfoTest::firstOpeningFetches()
{
    QFETCH(QString, answer);
    QFETCH(QStringList, known);
    QFETCH(QStringList, shown);
    QFETCH(QString, error);
    Rig rig;
    demoAccount(m_sim);
    knownContact(known);
    if (!answer.isEmpty())
        m_sim.script("GETCONTACTINFO", answer);
    if (!error.isEmpty())
        rig.boxes.expect(vbOK);
    QStringList onScreen;
    QString caption, heading;
    showContactInfo([&](frmUpdateContactInfo& w) {
        onScreen = shownValues(w);
        caption = w.windowTitle();
        heading = w.findChild<QLabel*>("lblLabels")->text();
    });
    QCOMPARE(caption, QString("Update Contact Information"));
    QCOMPARE(heading, QString("Update Your Contact Information"));
    QCOMPARE(onScreen, shown);
    const bool fetches = known == QStringList{"", "", ""};
    QCOMPARE(m_sim.requests(), fetches ? QStringList(kFetch) : QStringList());
    QCOMPARE(rig.boxes.boxes.size(), error.isEmpty() ? 0 : 1);
    if (!error.isEmpty()) {
        QCOMPARE(rig.boxes.boxes[0].text, error);
        QCOMPARE(rig.boxes.boxes[0].title, QString("Error In Load UpdateContactInfo"));
        QCOMPARE(rig.boxes.boxes[0].style, int(vbOKOnly | vbExclamation));
        QCOMPARE(contactValues(), known);
        QVERIFY(rig.env.readFile("errors.log").contains(error.section("Error Desc: ", 1).toUtf8()));
    }
    QCOMPARE(rig.desk.busyDepth, 0);
}

void ContactInfoTest::localChecksRefuseInOrder_data()
{
    // Entries: e-mail, telephone, extension. Rows also break rules checked later.
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("e-mail character") << QStringList{"a'b@c.com", "1*", "2="}
        << "Email address contains illegal characters" << "txtEmail";
    QTest::newRow("telephone asterisk") << QStringList{"no at sign", "555*0100", "2="}
        << "Phone number contains illegal characters" << "txtPhoneNum";
    QTest::newRow("extension character") << QStringList{"no at sign", "", "\"12\""}
        << "Phone extension contains illegal characters" << "txtPhoneExt";
    QTest::newRow("no @") << QStringList{"dana.example.com", "", ""}
        << "Invalid email address, it must contain '@' character" << "txtEmail";
    QTest::newRow("dot right after @") << QStringList{"dana@.example.com", "", ""}
        << "Invalid email address, incorrect '.' after the '@'" << "txtEmail";
    QTest::newRow("no dot after @") << QStringList{"d.ana@example", "", ""}
        << "Invalid email address, incorrect '.' after the '@'" << "txtEmail";
    QTest::newRow("one-letter extension") << QStringList{"dana@example.c", "", ""}
        << "Invalid domain extension" << "txtEmail";
}

void ContactInfoTest::localChecksRefuseInOrder()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    Rig rig;
    demoAccount(m_sim);
    knownContact({"old@vendor.example", "5550100", ""});
    rig.boxes.expect(vbOK);
    QString focused;
    bool stillOpen = false;
    showContactInfo([&](frmUpdateContactInfo& w) {
        enterContact(w, entries);
        click(w, "cmdOK");
        focused = focusedName(w);
        stillOpen = w.isVisible();
    });
    QCOMPARE(rig.boxes.boxes.size(), 1);
    QCOMPARE(rig.boxes.boxes[0].text, message);
    QCOMPARE(rig.boxes.boxes[0].title, QString("Validation Error"));
    QCOMPARE(rig.boxes.boxes[0].style, int(vbOKOnly | vbCritical));
    QCOMPARE(focused, focus);
    QVERIFY(stillOpen);
    QCOMPARE(m_sim.requests(), QStringList());
    QCOMPARE(contactValues(), (QStringList{"old@vendor.example", "5550100", ""}));
}

void ContactInfoTest::okSendsChangesOrNothing_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("answer");       // scripted; empty: the server's own
    QTest::addColumn<QString>("request");      // the fields after DEPARTMENTID, or empty: none sent
    QTest::addColumn<QString>("box");          // text of the one box shown
    QTest::addColumn<QStringList>("kept");     // values the run holds afterwards
    const QStringList old{"Dana@Vendor.example", "5550100", "12"};
    const QString refused = "There was an error updating contact information.\r\nError Number: 6001\r\nError: ";
    QTest::newRow("changed, sent trimmed") << QStringList{" dana@new.example ", "(555) 010-0199", " 7"} << ""
        << "&NEWPHONE=%28555%29+010-0199&NEWEXT=7&NEWEMAIL=dana%40new.example"
        << "Contact information changed successfully."
        << QStringList{"dana@new.example", "(555) 010-0199", "7"};
    QTest::newRow("blank after a one-letter extension counts") << QStringList{"dana@example.c ", "5550100", "12"}
        << "contactinfochanged" << "&NEWPHONE=5550100&NEWEXT=12&NEWEMAIL=dana%40example.c"
        << "Contact information changed successfully." << QStringList{"dana@example.c", "5550100", "12"};
    QTest::newRow("letter case only: no change") << QStringList{"DANA@vendor.EXAMPLE ", "5550100", "12"} << ""
        << "" << "No changes detected." << old;
    QTest::newRow("refused") << QStringList{"dana@new.example", "5550100", "12"}
        << "Department does not match this user." << "&NEWPHONE=5550100&NEWEXT=12&NEWEMAIL=dana%40new.example"
        << refused + "Department does not match this user." << old;
}

void ContactInfoTest::okSendsChangesOrNothing()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, answer);
    QFETCH(QString, request);
    QFETCH(QString, box);
    QFETCH(QStringList, kept);
    Rig rig;
    demoAccount(m_sim);
    knownContact({"Dana@Vendor.example", "5550100", "12"});
    if (!answer.isEmpty())
        m_sim.script("UPDATECONTACTINFO", answer);
    rig.boxes.expect(vbOK);
    bool closed = false;
    showContactInfo([&](frmUpdateContactInfo& w) {
        enterContact(w, entries);
        click(w, "cmdOK");
        closed = !w.isVisible();
    });
    const bool refusal = box.startsWith("There was an error");
    QCOMPARE(rig.boxes.boxes.size(), 1);
    QCOMPARE(rig.boxes.boxes[0].text, box);
    QCOMPARE(rig.boxes.boxes[0].title, refusal ? QString("Update Contact Info Error") : QString("Success"));
    QCOMPARE(rig.boxes.boxes[0].style, refusal ? int(vbOKOnly) : int(vbOKOnly | vbInformation));
    QCOMPARE(closed, !refusal);
    QCOMPARE(m_sim.requests(),
             request.isEmpty() ? QStringList()
                               : QStringList("POST /utils/CGI_Utilities.asp?Action=UPDATECONTACTINFO&USER=demo"
                                             "&DEPARTMENTID=QDEMO-LOANS" + request));
    QCOMPARE(contactValues(), kept);
    if (refusal)
        QVERIFY(rig.env.readFile("errors.log").contains("Department does not match this user."));
    QCOMPARE(rig.desk.busyDepth, 0);
}
