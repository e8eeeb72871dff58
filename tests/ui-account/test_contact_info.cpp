#include "test_account.h"

#include "AccountRig.h"

namespace {

const QStringList kContactBoxes = {"txtEmail", "txtPhoneNum", "txtPhoneExt"};

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

} // namespace

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
    rig.account();
    knownContact(known);
    if (!answer.isEmpty())
        rig.sim.script("GETCONTACTINFO", answer);
    if (!error.isEmpty())
        rig.boxes.expect(vbOK);
    QStringList onScreen;
    whenModal<frmUpdateContactInfo>([&](frmUpdateContactInfo& w) {
        onScreen << w.windowTitle() << w.findChild<QLabel*>("lblLabels")->text();
        for (const QString& name : kContactBoxes)
            onScreen << box(w, name)->text();
    });
    frmUpdateContactInfo::ShowModal();
    QCOMPARE(onScreen, QStringList({"Update Contact Information", "Update Your Contact Information"}) + shown);
    const bool fetches = known == QStringList{"", "", ""};
    QCOMPARE(rig.sim.requests(), fetches ? QStringList(kUtil + "GETCONTACTINFO&USER=demo&COMPANYID=QDEMO&DEPARTMENTID=QDEMO-LOANS")
                                         : QStringList());
    QCOMPARE(rig.shown(0), error.isEmpty() ? "|0|" : "Error In Load UpdateContactInfo|" + QString::number(vbOKOnly | vbExclamation) + "|" + error);
    if (!error.isEmpty()) {
        QCOMPARE(contactValues(), known);
        QVERIFY(rig.env.readFile("errors.log").contains(error.section("Error Desc: ", 1).toUtf8()));
    }
    QCOMPARE(rig.desk.busyDepth, 0);
}

void ContactInfoTest::okOutcomes_data()
{
    QTest::addColumn<QStringList>("entries");  // e-mail, telephone, extension
    QTest::addColumn<QString>("answer");       // scripted; empty: the server's own
    QTest::addColumn<QString>("request");      // the fields after DEPARTMENTID, or empty: none sent
    QTest::addColumn<QString>("box");          // title|icon|text of the one box shown
    QTest::addColumn<QString>("focus");        // a box the focus goes to: the window stays open
    QTest::addColumn<QStringList>("kept");     // values the run holds afterwards
    const QStringList old{"Dana@Vendor.example", "5550100", "12"};
    const QString invalid = "Validation Error|" + QString::number(vbCritical) + "|";
    const QString success = "Success|" + QString::number(vbInformation) + "|";
    // Local checks, in order; rows also break rules checked later.
    QTest::newRow("e-mail character") << QStringList{"a'b@c.com", "1*", "2="} << "" << ""
        << invalid + "Email address contains illegal characters" << "txtEmail" << old;
    QTest::newRow("telephone asterisk") << QStringList{"no at sign", "555*0100", "2="} << "" << ""
        << invalid + "Phone number contains illegal characters" << "txtPhoneNum" << old;
    QTest::newRow("extension character") << QStringList{"no at sign", "", "\"12\""} << "" << ""
        << invalid + "Phone extension contains illegal characters" << "txtPhoneExt" << old;
    QTest::newRow("no @") << QStringList{"dana.example.com", "", ""} << "" << ""
        << invalid + "Invalid email address, it must contain '@' character" << "txtEmail" << old;
    QTest::newRow("dot right after @") << QStringList{"dana@.example.com", "", ""} << "" << ""
        << invalid + "Invalid email address, incorrect '.' after the '@'" << "txtEmail" << old;
    QTest::newRow("no dot after @") << QStringList{"d.ana@example", "", ""} << "" << ""
        << invalid + "Invalid email address, incorrect '.' after the '@'" << "txtEmail" << old;
    QTest::newRow("one-letter extension") << QStringList{"dana@example.c", "", ""} << "" << ""
        << invalid + "Invalid domain extension" << "txtEmail" << old;
    QTest::newRow("changed, sent trimmed") << QStringList{" dana@new.example ", "(555) 010-0199", " 7"} << ""
        << "&NEWPHONE=%28555%29+010-0199&NEWEXT=7&NEWEMAIL=dana%40new.example"
        << success + "Contact information changed successfully." << "" << QStringList{"dana@new.example", "(555) 010-0199", "7"};
    QTest::newRow("blank after a one-letter extension counts") << QStringList{"dana@example.c ", "5550100", "12"}
        << "contactinfochanged" << "&NEWPHONE=5550100&NEWEXT=12&NEWEMAIL=dana%40example.c"
        << success + "Contact information changed successfully." << "" << QStringList{"dana@example.c", "5550100", "12"};
    QTest::newRow("letter case only: no change") << QStringList{"DANA@vendor.EXAMPLE ", "5550100", "12"} << "" << ""
        << success + "No changes detected." << "" << old;
    QTest::newRow("refused") << QStringList{"dana@new.example", "5550100", "12"} << "Department does not match this user."
        << "&NEWPHONE=5550100&NEWEXT=12&NEWEMAIL=dana%40new.example" << "Update Contact Info Error|0|There was an error "
           "updating contact information.\r\nError Number: 6001\r\nError: Department does not match this user." << "-" << old;
}

void ContactInfoTest::okOutcomes()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, answer);
    QFETCH(QString, request);
    QFETCH(QString, box);
    QFETCH(QString, focus);
    QFETCH(QStringList, kept);
    Rig rig;
    rig.account();
    knownContact({"Dana@Vendor.example", "5550100", "12"});
    if (!answer.isEmpty())
        rig.sim.script("UPDATECONTACTINFO", answer);
    rig.boxes.expect(vbOK);
    QString focused;
    bool open = false;
    whenModal<frmUpdateContactInfo>([&](frmUpdateContactInfo& w) {
        enter(w, kContactBoxes, entries);
        click(w, "cmdOK");
        open = w.isVisible();
        focused = focusedName(w);
    });
    frmUpdateContactInfo::ShowModal();
    QCOMPARE(rig.boxes.boxes.size(), 1);
    const auto& shown = rig.boxes.boxes[0];
    QCOMPARE(shown.title + "|" + QString::number(shown.icon()) + "|" + shown.text, box);
    QCOMPARE(shown.buttons(), int(vbOKOnly));
    QCOMPARE(open, !focus.isEmpty());
    if (focus != "-" && open)
        QCOMPARE(focused, focus);
    QCOMPARE(rig.sim.requests(), request.isEmpty() ? QStringList()
             : QStringList(kUtil + "UPDATECONTACTINFO&USER=demo&DEPARTMENTID=QDEMO-LOANS" + request));
    QCOMPARE(contactValues(), kept);
    if (focus == "-")
        QVERIFY(rig.env.readFile("errors.log").contains("Department does not match this user."));
    QCOMPARE(rig.desk.busyDepth, 0);
}
